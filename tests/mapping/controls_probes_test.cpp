// The field mappings of types 23 to 33: one whole structure of each type,
// the cooling device's description gate, and a probe value read past a
// short structure.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qvmtest;

namespace
{

// Type 26, 28 or 29 with location 3 and status 3 in byte 5. Older probes
// end before the nominal value.
StructureBuilder probe(std::uint8_t type, std::uint8_t length = 0x16)
{
    auto s = StructureBuilder(type, length, type << 8).string(4, "CPU0");
    s.u8(5, 0x63).u16(6, 1500).u16(8, 500).u16(10, 10).u16(12, 25);
    s.u16(14, 50).u32(16, 0x12345678);
    return length >= 22 ? s.u16(20, 1100) : s;
}

// A probe's fields; its two decoders' fields come in the type's order.
std::vector<std::string> probeFields(const std::string& first,
                                     const std::string& second,
                                     bool statusFirst)
{
    const std::string location = "s:Item:Processor ", ok = "s:Item:OK ";
    return {"s:Description:CPU0",
            "d:" + first + ":3",
            statusFirst ? ok : location,
            "d:" + second + ":3",
            statusFirst ? location : ok,
            "d:MaximumValue:1500",
            "d:MinimumValue:500",
            "d:Resolution:10",
            "d:Tolerance:25",
            "d:Accuracy:50",
            "d:OEMDefined:305419896",
            "d:NominalValue:1100"};
}

StructureBuilder coolingDevice()
{
    StructureBuilder s(27, 0x0F, 0x1B00);
    s.u16(4, 0x1C00).bytes(6, {0x63, 1}).u32(8, 0x0BADCAFE).u16(12, 12000);
    return s.string(14, "Fan 1");
}

} // namespace

// Version 2.7 is the lowest under which every row shows.
TEST(ControlsProbesMapping, EveryTypeFieldByField)
{
    auto reset = StructureBuilder(23, 0x0D, 0x1700).u8(4, 0x2B);
    reset.u16(5, 3).u16(7, 10).u16(9, 60).u16(11, 5);
    auto error = StructureBuilder(33, 0x1F, 0x2100).bytes(4, {14, 3, 4});
    error.u32(7, 0x11223344).u64(11, ~0ULL).u64(19, 0x123456789ULL);
    expectFullStructures(
        {{reset,
          {"d:System Reset Capabilities:43",
           "s:System contains a watchdog timer:True",
           "s:Boot Option on Limit:Operating system",
           "s:Boot Option:Operating system",
           "s:System Reset:Enabled by the user", "d:ResetCount:3",
           "d:ResetLimit:10", "d:TimerInterval:60", "d:Timeout:5"}},
         {StructureBuilder(24, 5, 0x1800).u8(4, 0x6A),
          {"d:Hardware Security Settings:106",
           "s:Power-on Password Status:Enabled",
           "s:Keyboard Password Status:Not Implemented",
           "s:Administrator Password Status:Not Implemented",
           "s:Front Panel Reset Status:Not Implemented"}},
         // BCD bytes shown as plain integers.
         {StructureBuilder(25, 9, 0x1900).bytes(4, {0x12, 0x31, 0x23, 0x59, 0}),
          {"d:NextScheduledPowerOnMonth:18",
           "d:NextScheduledPowerOnDayOfMonth:49",
           "d:NextScheduledPowerOnHour:35", "d:NextScheduledPowerOnMinute:89",
           "d:NextScheduledPowerOnSecond:0"}},
         {probe(26), probeFields("Voltage Probe - Location",
                                 "Voltage Probe - Status", false)},
         {coolingDevice(),
          {"d:TemperatureProbeHandle:7168", "d:Cooling Device - Status:3",
           "s:Item:OK ", "d:Cooling Device - Type:3", "s:Item:Fan ",
           "d:CoolingUnitGroup:1", "d:OEMDefined:195939070",
           "d:NominalSpeed:12000", "s:Description:Fan 1"}},
         {probe(28), probeFields("Temperature Probe - Status",
                                 "Temperature Probe - Location", true)},
         {probe(29), probeFields("Electrical Current Probe - Status",
                                 "Electrical Current Probe - Location", true)},
         {StructureBuilder(30, 6, 0x1E00).string(4, "Remote Co").u8(5, 3),
          {"s:ManufacturerName:Remote Co", "d:Connections:3",
           "s:Connections:Outbound Connection Enabled",
           "s:Connections:Inbound Connection Enabled"}},
         {StructureBuilder(31, 0x1C, 0x1F00).u32(4, 0xFFFFFFFF).string("x"),
          {"s:Notice:This structure is Type31, reserved by BIS (Boot "
           "Integrity Services)"}},
         {StructureBuilder(32, 0x0B, 0x2000).bytes(4, {1, 2, 3, 4, 5, 6}),
          {"s:Reserved:Dump: size= 6", "s:00000000:01 02 03 04 05 06 |......",
           "d:System Boot Status:0", "s:Boot Status:No errors detected"}},
         // A 64-bit address of all ones comes out whole, as signed.
         {error.u32(27, 0x40),
          {"d:32-bit Memory Error Information - Type:14",
           "s:Item:Uncorrectable error", "d:Memory Error - Error granularity:3",
           "s:Item:Device level", "d:Memory Error - Error Operation:4",
           "s:Item:Write", "d:VendorSyndrome:287454020",
           "d:MemoryArrayErrorAddress:-1", "d:DeviceErrorAddress:4886718345",
           "d:ErrorResolution:64"}}},
        v(2, 7));
}

TEST(ControlsProbesMapping, GatesAndShortStructures)
{
    expectProbes({
        {coolingDevice(), v(2, 6), "!Description"},
        {coolingDevice().lengthByte(14), v(2, 7), "!Description"},
        // A probe of length 0x14 reads its nominal value from the next two
        // table bytes: the start of its string set, "CP".
        {probe(26, 0x14), v(3, 2), "d:NominalValue:20547"},
    });
}
