// Types 37, 39, 40, 41 and 43: one full structure each, then the device
// loop of type 37 and the entry list of type 40 at their edges.
#include "mapping/mapping_support.hpp"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace qvmtest;

namespace
{

long countKey(const std::vector<std::string>& fields, const std::string& key)
{
    const auto keys = keysOf(fields);
    return std::count(keys.begin(), keys.end(), key);
}

std::vector<std::string> hex(const std::vector<std::uint8_t>& bytes)
{
    return decoded(DumpHex, static_cast<std::uint32_t>(bytes.size()),
                   bytes.data());
}

} // namespace

TEST(DeviceMappings, FullStructuresFieldByField)
{
    expectFullStructures(
        {
            {StructureBuilder(37, 13, 0x2500)
                 .bytes(4, {3, 8, 2, 3, 0x00, 0x11, 4, 0x01, 0x11}),
             join({decoded(qvmAddMemoryChannelType, 3U),
                   {"d:MaximumChannelLoad:8", "d:MemoryDeviceCount:2",
                    "d:Memory Device:1", "d:Device Load:3",
                    "d:Device Handle:4352", "d:Memory Device:2",
                    "d:Device Load:4", "d:Device Handle:4353"}})},
            {StructureBuilder(37, 7, 0x2500).bytes(4, {3, 8}),
             join({decoded(qvmAddMemoryChannelType, 3U),
                   {"d:MaximumChannelLoad:8", "d:MemoryDeviceCount:0"}})},
            {StructureBuilder(39, 22, 0x2700)
                 .bytes(4, {1, 1, 2, 3, 4, 5, 6, 7, 0x40, 0x06, 0xA3, 0x11,
                            0x00, 0x1A, 0x00, 0x1B, 0xFF, 0xFF})
                 .rawStrings({'L', 0, 'D', 0, 'M', 0, 'S', 0, 'A', 0, 'P', 0,
                              'R', 0, 0}),
             join({{"d:PowerUnitGroup:1", "s:Location:L", "s:DeviceName:D",
                    "s:Manufacturer:M", "s:SerialNumber:S",
                    "s:AssetTagNumber:A", "s:ModelPartNumber:P",
                    "s:RevisionLevel:R", "d:MaxPowerCapacity:1600"},
                   decodedAtOddAddress(qvmAddSPSCharacteristics, 0x11A3, 2),
                   {"d:InputVoltageProbeHandle:6656",
                    "d:CoolingDeviceHandle:6912",
                    "d:InputCurrentProbeHandle:65535"}})},
            // Entries of 6 and 8 bytes, each starting where the last ended.
            {StructureBuilder(40, 19, 0x2800)
                 .bytes(4, {2, 6, 0x00, 0x27, 0x0C, 1, 0xAB})
                 .bytes(11, {8, 0x01, 0x04, 0x10, 2, 1, 2, 3})
                 .string("Build")
                 .string("Slot"),
             join({{"d:NumberOfAdditionalInformationEntries:2",
                    "d:Entry Length:6", "d:Referenced Handle:9984",
                    "d:Referenced Offset:12", "s:String:Build",
                    "s:Value:Dump: size= 1"},
                   hex({0xAB}),
                   {"d:Entry Length:8", "d:Referenced Handle:1025",
                    "d:Referenced Offset:16", "s:String:Slot",
                    "s:Value:Dump: size= 3"},
                   hex({1, 2, 3})})},
            // Bit 7 is the enabled flag, not part of the device type.
            {StructureBuilder(41, 11, 0x2900)
                 .string(4, "NIC 1")
                 .bytes(5, {0x85, 1, 0x02, 0x01, 0x18, 0x01}),
             join({{"s:ReferenceDesignation:NIC 1", "s:Device:Enabled"},
                   decoded(qvmAddOnboardDeviceTypes, 5U),
                   {"d:DeviceTypeInstance:1", "d:SegmentGroupNum:258",
                    "d:BusNum:24", "d:DevFuncNum:1"}})},
            {StructureBuilder(43, 31, 0x2B00)
                 .bytes(4, {'C', 'V', 'L', 'N', 2, 0})
                 .u32(10, 0x0007003F)
                 .u32(14, 0x00010002)
                 .string(18, "TPM 2.0")
                 .u64(19, 0x0000000300000010)
                 .u32(27, 0xCAFE),
             join({{"s:VendorID:Dump: size= 4"},
                   hex({'C', 'V', 'L', 'N'}),
                   {"d:MajorSpecVersion:2", "d:MinorSpecVersion:0",
                    "d:FirmwareVersion1:458815", "d:FirmwareVersion2:65538",
                    "s:Description:TPM 2.0"},
                   decoded(qvmAddTpmDeviceCharacteristics, 0x10U, 0x3U),
                   {"d:OemDefined:51966"}})},
        },
        v(3, 2));
    expectProbes({{StructureBuilder(41, 11, 0x2900).u8(5, 0x05), v(3, 2),
                   "s:Device:Disabled"}});
}

// A count larger than the structure reads its groups from what follows,
// zero past the table's end.
TEST(MemoryChannelMapping, DeviceCountTakenAsItStands)
{
    const auto claimed = fieldsOf(
        StructureBuilder(37, 10, 0x2500).bytes(6, {255, 3, 0x00, 0x11}),
        v(3, 2));
    EXPECT_EQ(countKey(claimed, "Memory Device"), 255);
    EXPECT_THAT(claimed, testing::Contains("d:Device Handle:4352"));
    EXPECT_EQ(claimed.back(), "d:Device Handle:0");
}

// A malformed entry ends the list before any of its fields; the entries
// before it stay.
TEST(AdditionalInformationMapping, MalformedEntriesEndTheList)
{
    struct Case
    {
        std::uint8_t count;
        Bytes entries;
        long shown;
    };
    const Case cases[] = {
        {1, {0, 0, 0, 0, 0}, 0},          // zero length
        {1, {4, 0, 0, 0, 0}, 0},          // shorter than its header
        {1, {20, 0, 0, 0, 0, 0}, 0},      // reaches past the formatted area
        {3, {6, 0, 0, 0, 0, 0}, 1},       // count claims more than there is
        {2, {6, 0, 0, 0, 0, 1, 0, 1}, 1}, // next entry zero length
        {1, {5, 0, 0, 0, 0}, 1},          // no value bytes
    };
    for (const Case& c : cases)
    {
        const auto length = static_cast<std::uint8_t>(5 + c.entries.size());
        const auto fields = fieldsOf(StructureBuilder(40, length, 0x2800)
                                         .u8(4, c.count)
                                         .bytes(5, c.entries),
                                     v(3, 2));
        EXPECT_EQ(countKey(fields, "Entry Length"), c.shown)
            << testing::PrintToString(c.entries);
    }
}
