// The field mappings of types 16 to 22: one whole structure of each type,
// and the version and length gates of the memory array, device and
// mapped-address fields.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>

using namespace qvmtest;

namespace
{

constexpr std::uint64_t k8GiB = 1ULL << 33;

// Whole structures; the gate probes shorten them with lengthByte, which
// leaves the bytes where they are.
StructureBuilder memoryArray()
{
    auto s = StructureBuilder(16, 0x17, 0x1000).bytes(4, {3, 3, 6});
    return s.u32(7, 0x80000000).u16(11, 0xFFFE).u16(13, 4).u64(15, k8GiB);
}

// A DDR4 DIMM without an asset tag string.
StructureBuilder memoryDevice()
{
    StructureBuilder s(17, 0x28, 0x1100);
    s.u16(4, 0x1000).u16(6, 0xFFFE).u16(8, 72).u16(10, 64).u16(12, 0x4000);
    s.u8(14, 0x09).u8(15, 1).string(16, "DIMM A1").string(17, "BANK 0");
    s.u8(18, 0x1A).u16(19, 0x0080).u16(21, 3200).string(23, "Maker");
    s.string(24, "SN-7").string(26, "PN-16G").u8(27, 2).u32(28, 16384);
    return s.u16(32, 2933).u16(34, 1200).u16(36, 1350).u16(38, 1250);
}

// Types 19 and 20: plain addresses that point to the extended ones.
StructureBuilder mappedAddress(std::uint8_t type)
{
    const std::uint8_t extended = type == 19 ? 15 : 19;
    StructureBuilder s(type, extended + 16, type << 8);
    s.u32(4, 0xFFFFFFFF).u32(8, 0xFFFFFFFF).u64(extended, k8GiB);
    return s.u64(extended + 8, 2 * k8GiB - 1);
}

StructureBuilder battery()
{
    StructureBuilder s(22, 0x1A, 0x1600);
    s.string(4, "Rear").string(5, "Cellmaker").string(6, "03/15/2020");
    s.string(7, "B-1").string(8, "Cache battery").u8(9, 6).u16(10, 4800);
    s.u16(12, 11100).string(14, "3.1").u8(15, 5).u16(16, 0x1234);
    // 15 March 2020; the chemistry string number is beyond the strings.
    s.u16(18, 40 << 9 | 3 << 5 | 15).u8(20, 9).u8(21, 10);
    return s.u32(22, 0xCAFEF00D);
}

} // namespace

// Version 2.8 is the lowest under which every row shows.
TEST(MemoryMapping, EveryTypeFieldByField)
{
    auto error = StructureBuilder(18, 0x17, 0x1200).bytes(4, {3, 4, 3});
    error.u32(7, 0x11223344).u32(11, 0x80000000).u32(15, 0xABCDEF);
    const std::string extended[] = {"d:ExtendedStartingAddress:8589934592",
                                    "d:ExtendedEndingAddress:17179869183"};
    expectFullStructures(
        {{memoryArray(),
          {"d:Physical Memory Array Location:3",
           "s:Item:System board or motherboard",
           "d:Physical Memory Array Use:3", "s:Item:System memory",
           "d:Physical Memory Array Error Correction Types:6",
           "s:Item:Multi-bit ECC", "d:MaximumCapacity:2147483648",
           "d:MemoryErrorInformationHandle:65534", "d:NumberOfMemoryDevices:4",
           "d:ExtendedMaximumCapacity:8589934592"}},
         {memoryDevice(),
          {"d:MemoryArrayHandle:4096",
           "d:MemoryErrorInformationHandle:65534",
           "d:TotalWidth:72",
           "d:DataWidth:64",
           "d:Size:16384",
           "d:Memory Device - Form Factor:9",
           "s:Item:DIMM",
           "d:DeviceSet:1",
           "s:DeviceLocator:DIMM A1",
           "s:BankLocator:BANK 0",
           "d:Memory Device - Type:26",
           "s:Item:DDR4",
           "d:Memory Device - Type Detail:128",
           "x:Synchronous:80",
           "d:Speed:3200",
           "s:Manufacturer:Maker",
           "s:SerialNumber:SN-7",
           "s:AssetTag:",
           "s:PartNumber:PN-16G",
           "d:Attributes:2",
           "d:ExtendedSize:16384",
           "d:ConfiguredMemoryClockSpeed:2933",
           "d:MinimumVoltage:1200",
           "d:MaximumVoltage:1350",
           "d:ConfiguredVoltage:1250"}},
         {error.u32(19, 0x40),
          {"d:32-bit Memory Error Information - Type:3", "s:Item:OK",
           "d:Memory Error - Error granularity:4",
           "s:Item:Memory partition level",
           "d:Memory Error - Error Operation:3", "s:Item:Read",
           "d:VendorSyndrome:287454020", "d:MemoryArrayErrorAddress:2147483648",
           "d:DeviceErrorAddress:11259375", "d:ErrorResolution:64"}},
         {mappedAddress(19).u16(12, 0x1000).u8(14, 2),
          {"d:StartingAddress:4294967295", "d:EndingAddress:4294967295",
           "d:MemoryArrayHandle:4096", "d:PartitionWidth:2", extended[0],
           extended[1]}},
         {mappedAddress(20)
              .u16(12, 0x1100)
              .u16(14, 0x1300)
              .bytes(16, {1, 2, 3}),
          {"d:StartingAddress:4294967295", "d:EndingAddress:4294967295",
           "d:MemoryDeviceHandle:4352", "d:MemoryArrayMappedAddressHandle:4864",
           "d:PartitionRowPosition:1", "d:InterleavePosition:2",
           "d:InterleavedDataDepth:3", extended[0], extended[1]}},
         {StructureBuilder(21, 7, 0x1500).bytes(4, {5, 4, 2}),
          {"d:Pointing Device - Type:5", "s:Item:Track Point",
           "d:Pointing Device - Interface:4", "s:Item:PS/2",
           "d:NumberOfButtons:2"}},
         {battery(),
          {"s:Location:Rear", "s:Manufacturer:Cellmaker",
           "s:ManufactureDate:03/15/2020", "s:SerialNumber:B-1",
           "s:DeviceName:Cache battery",
           "d:Portable Battery - Device Chemistry:6", "s:Item:Lithium-ion ",
           "d:DeviceCapacity:4800", "d:DesignVoltage:11100",
           "s:SBDSVersionNumber:3.1", "d:MaximumErrorInBatteryData:5",
           "d:SBDSSerialNumber:4660", "d:SBDS Manufacture Date:20591",
           "s:Manufacture Date:03/15/2020", "s:SBDSDeviceChemistry:",
           "d:DesignCapacityMultiplier:10", "d:OEMSpecific:3405705229"}}},
        v(2, 8));
}

TEST(MemoryMapping, EveryGateJustBelowAndAtItsLimit)
{
    const auto device = [](std::uint8_t length)
    { return memoryDevice().lengthByte(length); };
    const auto mapped = [](std::uint8_t type, std::uint8_t length)
    { return mappedAddress(type).lengthByte(length); };
    expectProbes({
        {memoryArray().lengthByte(15), v(3, 2), "!ExtendedMaximumCapacity"},
        {memoryArray(), v(2, 6), "!ExtendedMaximumCapacity"},
        {memoryArray().lengthByte(16), v(2, 7),
         "d:ExtendedMaximumCapacity:8589934592"},
        // The device's ladder: attributes from 2.6, sizes and clock from
        // 2.7, voltages from 2.8, each also needing the length.
        {device(0x28), v(2, 5), "!Attributes"},
        {device(27), v(2, 6), "!Attributes"},
        {device(28), v(2, 6), "d:Attributes:2"},
        {device(0x28), v(2, 6), "!ExtendedSize"},
        {device(28), v(2, 7), "!ConfiguredMemoryClockSpeed"},
        {device(29), v(2, 7), "d:ConfiguredMemoryClockSpeed:2933"},
        {device(0x28), v(2, 7), "!MinimumVoltage"},
        {device(34), v(2, 8), "!ConfiguredVoltage"},
        {device(35), v(2, 8), "d:ConfiguredVoltage:1250"},
        // Both extended addresses under one gate each.
        {mapped(19, 15), v(3, 2), "!ExtendedStartingAddress"},
        {mapped(19, 0x1F), v(2, 6), "!ExtendedEndingAddress"},
        {mapped(19, 16), v(2, 7), "d:ExtendedEndingAddress:17179869183"},
        {mapped(20, 19), v(3, 2), "!ExtendedStartingAddress"},
        {mapped(20, 0x23), v(2, 6), "!ExtendedEndingAddress"},
        {mapped(20, 20), v(2, 7), "d:ExtendedEndingAddress:17179869183"},
    });
}
