// The field mappings of types 4 to 7: one whole structure of each type field
// by field, every gate on both sides, and a slot count past the buffer.
#include "mapping/mapping_support.hpp"
#include "smbios/structure_json.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace qvmtest;

namespace
{

// A 3.0 processor. Its family word is there for a family byte of 0xFE.
StructureBuilder processor()
{
    return StructureBuilder(4, 0x30, 0x0400)
        .string(4, "CPU0")
        .u8(5, 0x03)
        .u8(6, 0x02)
        .string(7, "Maker")
        .u64(8, 0x0102030405060708)
        .string(16, "Model 9")
        .u8(17, 0x8B)
        .u16(18, 100)
        .u16(20, 3800)
        .u16(22, 2600)
        .u8(24, 0x41)
        .u8(25, 0x06)
        .u16(26, 0x0700)
        .u16(28, 0x0701)
        .u16(30, 0x0702)
        .string(32, "SN-7")
        .string(33, "AT-7")
        .string(34, "PN-7")
        .u8(35, 32)
        .u8(36, 30)
        .u8(37, 64)
        .u16(38, 0x0004)
        .u16(40, 0x0101)
        .u16(42, 300)
        .u16(44, 290)
        .u16(46, 600);
}

// Two associated slots, so the enabled capabilities sit at offset 19.
StructureBuilder controller()
{
    return StructureBuilder(5, 20, 0x0500)
        .u8(4, 0x06)
        .u8(5, 0x08)
        .u8(6, 0x05)
        .u8(7, 0x04)
        .u8(8, 4)
        .u16(9, 0x0004)
        .u16(11, 0x0100)
        .u8(13, 0x02)
        .u8(14, 2)
        .u16(15, 0x0600)
        .u16(17, 0x0601)
        .u8(19, 0x20);
}

StructureBuilder cache()
{
    return StructureBuilder(7, 0x1B, 0x0700)
        .string(4, "L2")
        .u16(5, 0x0181)
        .u16(7, 0x8200)
        .u16(9, 0x0200)
        .u16(11, 0x0020)
        .u16(13, 0x0002)
        .u8(15, 5)
        .u8(16, 0x05)
        .u8(17, 0x05)
        .u8(18, 0x08)
        .u32(19, 0x80000200)
        .u32(23, 0x00010000);
}

} // namespace

TEST(ProcessorMemoryMapping, EachTypeFieldByField)
{
    const auto module = StructureBuilder(6, 12, 0x0600)
                            .string(4, "DIMM A0")
                            .u8(5, 0x01)
                            .u8(6, 60)
                            .u16(7, 0x0100)
                            .u8(9, 0x8F)
                            .u8(10, 0x0E)
                            .u8(11, 0x02);
    // Length 32 ends the structure after the cache handles.
    std::vector<std::string> processorFields = {
        "s:SocketDesignation:CPU0",
        "d:Processor Type:3",
        "d:Processor Family :2",
        "s:Processor Family :Unknown",
        "s:ProcessorManufacture:Maker",
        "s:ProcessorId:Dump: size= 8",
        "s:00000000:08 07 06 05 04 03 02 01 |........",
        "s:ProcessorVersion:Model 9",
        "d:Processor Information - Voltage:139",
        "d:Processor current voltage(V/10):11",
        "d:ExternalClock:100",
        "d:MaxSpeed:3800",
        "d:CurrentSpeed:2600",
        "d:Processor Status:65",
        "s:CPU Socket Populated:True",
        "s:Status:CPU Enabled",
        "d:Processor Upgrade:6",
        "d:L1CacheHandle:1792",
        "d:L2CacheHandle:1793",
        "d:L3CacheHandle:1794"};
    expectMapped(shortened(processor(), 32), v(3, 2), processorFields);
    processorFields.insert(processorFields.end(),
                           {"s:SerialNumber:SN-7", "s:AssetTag:AT-7",
                            "s:PartNumber:PN-7", "d:CoreCount:32",
                            "d:EnabledCoreCount:30", "d:ThreadCount:64",
                            "d:Processor Characteristics:4", "d:CoreCount2:300",
                            "d:EnabledCoreCount2:290", "d:ThreadCount2:600"});
    expectMapped(processor(), v(3, 0), processorFields);
    expectMapped(
        controller(), v(3, 0),
        {"d:Memory Controller Error DetectMethod:6",
         "d:Memory Controller Error Correct Capability:8",
         "s:Interleave:Support", "d:Memory Controller Interleave Support:5",
         "s:Interleave:Current", "d:Memory Controller Interleave Support:4",
         "d:The size of the largest memory module supported (per slot) :16",
         "d:The maximum amount of memory supported by this controller(MB) "
         ":32",
         "d:Memory Controller Memory Speed:4",
         "d:Memory Module Memory Type:256",
         "d:Required voltages for each memory module sockets:2",
         "d:AssociatedMemorySlotNum:2",
         "d:Handles' List controlled by this controller:2", "d:Handle:1536",
         "d:Handle:1537", "d:Memory Controller Error Correct Capability:32"});
    expectMapped(
        module, v(3, 0),
        {"s:SocketDesignation:DIMM A0", "d:Bank Connections:1",
         "d:Banks High:0", "d:Banks Low:1", "d:RAS# High:0", "d:RAS# Low:1",
         "d:CurrentSpeed:60", "d:Memory Module Memory Type:256",
         "s:Memory:Installed ", "d:Memory Size:143", "d:Memory Size(MB):32768",
         "s:Connection:The memory module has a Double-bank connection",
         "s:Memory:Enabled ", "d:Memory Size:14", "d:Memory Size(MB):16384",
         "s:Connection:The memory module has a Single-bank connection",
         "d:Memory Module Error Status:2"});
    expectMapped(cache(), v(3, 1),
                 {"s:SocketDesignation:L2", "d:Cache Configuration:385",
                  "s:Cache operation:Write Back", "s:Cache:Enabled ",
                  "s:Cache Type:Internal", "s:Socketed:False",
                  "d:Cache Level:2", "d:MaximumCacheSize:33280",
                  "d:InstalledSize:512", "d:Supported SRAM Type:32",
                  "d:Cache SRAM Type:2", "d:CacheSpeed:5",
                  "d:Cache Error Correcting Type:5",
                  "d:Cache System Cache Type:5", "d:Cache Associativity:8",
                  "d:MaximumCacheSize2:2147484160", "d:InstalledSize2:65536"});
}

TEST(ProcessorMemoryMapping, EveryGateOnBothSides)
{
    expectProbes({
        // Serial, asset and part numbers: 2.3 and a length above 32.
        {shortened(processor(), 32), v(3, 2), "!SerialNumber"},
        {processor(), v(2, 2), "!SerialNumber"},
        {shortened(processor(), 33), v(2, 3), "s:SerialNumber:SN-7"},
        {shortened(processor(), 33), v(2, 3), "+PartNumber"},
        // Core and thread counts with the characteristics: 2.5, above 35.
        {shortened(processor(), 35), v(3, 2), "!CoreCount"},
        {processor(), v(2, 4), "!Processor Characteristics"},
        {shortened(processor(), 36), v(2, 5), "d:CoreCount:32"},
        {shortened(processor(), 36), v(2, 5), "+Processor Characteristics"},
        // The 16-bit counts: 3.0 and a length above 42.
        {shortened(processor(), 42), v(3, 2), "!CoreCount2"},
        {processor(), v(2, 9), "!ThreadCount2"},
        {shortened(processor(), 43), v(3, 0), "+CoreCount2"},
        {shortened(processor(), 43), v(3, 0), "+ThreadCount2"},
        // The family word needs 2.6, a length above 40 and the byte 0xFE.
        {processor().u8(6, 0xFE), v(2, 6), "d:Processor Family :257"},
        {processor().u8(6, 0xFE), v(2, 5), "d:Processor Family :254"},
        {shortened(processor().u8(6, 0xFE), 40), v(2, 6),
         "d:Processor Family :254"},
        {processor(), v(3, 2), "d:Processor Family :2"},
        // The cache's 32-bit sizes: 3.1 and a length above 19.
        {cache(), v(3, 0), "!MaximumCacheSize2"},
        {shortened(cache(), 19), v(3, 1), "!InstalledSize2"},
        {shortened(cache(), 20), v(3, 1), "+MaximumCacheSize2"},
        {shortened(cache(), 20), v(3, 1), "+InstalledSize2"},
        // A slot count past the buffer: the handles and the byte after them
        // read as zero there.
        {controller().u8(14, 255), v(3, 0),
         "d:Handles' List controlled by this controller:255"},
        {controller().u8(14, 255), v(3, 0),
         "d:Memory Controller Error Correct Capability:0"},
    });
}

// The handle list repeats the header's key: the object keeps "Handle" in the
// header's place, holding the last handle listed.
TEST(MemoryControllerMapping, HandleListOverwritesTheHeaderHandle)
{
    const auto bytes = controller().build();
    const auto json = qvm::smbios::structureJson(
        qvm::smbios::StructureView(bytes), bytes.size());
    EXPECT_THAT(json.text,
                testing::HasSubstr("\"Length\": 20,\n  \"Handle\": 1537,\n"));
}
