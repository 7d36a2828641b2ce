// The field mappings of types 8 to 14: one whole structure of each type
// field by field, the slot gate on both sides, and the loops whose counts
// come from the structure, on both sides of each count and beyond it.
#include "mapping/mapping_support.hpp"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest;

namespace
{

StructureBuilder slot()
{
    return StructureBuilder(9, 0x11, 0x0900)
        .string(4, "Slot 1")
        .u8(5, 0xB6)
        .u8(6, 0x0D)
        .u8(7, 0x04)
        .u8(8, 0x04)
        .u16(9, 0x0102)
        .u8(11, 0x04)
        .u8(12, 0x01)
        .u16(13, 0x0203)
        .u8(15, 0x17)
        .u8(16, 0x08);
}

// Two devices: an enabled video device with a description and a disabled
// one without.
StructureBuilder devices(std::uint8_t length)
{
    return StructureBuilder(10, length, 0x0A00)
        .u8(4, 0x83)
        .string(5, "Video")
        .u8(6, 0x05);
}

// Strings "a" and "b" under the count given.
StructureBuilder counted(std::uint8_t type, std::uint8_t count)
{
    return StructureBuilder(type, 5, 0x0B00)
        .u8(4, count)
        .string("a")
        .string("b");
}

StructureBuilder groups(std::uint8_t length)
{
    auto s = StructureBuilder(14, length, 0x0E00).string(4, "Pkg");
    for (std::size_t at = 5; at + 3 <= length; at += 3)
        s.u8(at, 7).u16(at + 1, static_cast<std::uint16_t>(0x0700 + at));
    return s;
}

std::size_t countOf(const std::vector<std::string>& fields,
                    const std::string& key)
{
    const auto keys = keysOf(fields);
    return static_cast<std::size_t>(std::count(keys.begin(), keys.end(), key));
}

} // namespace

TEST(PortsSlotsStringsMapping, EachTypeFieldByField)
{
    const auto port = StructureBuilder(8, 9, 0x0800)
                          .string(4, "J9")
                          .u8(5, 0x12)
                          .string(6, "Rear USB")
                          .u8(7, 0x0B)
                          .u8(8, 0x10);
    const auto language =
        StructureBuilder(13, 0x16, 0x0D00).u8(4, 2).u8(5, 1).string(21, "enUS");
    expectMapped(
        port, v(3, 0),
        {"s:InternalReferenceDesignator:J9", "s:Connector:Internal",
         "d:Port Connector Type:18", "s:ExternalReferenceDesignator:Rear USB",
         "s:Connector:External", "d:Port Connector Type:11", "d:Port Type:16"});
    expectMapped(
        slot(), v(2, 6),
        {"s:SlotDesignation:Slot 1", "d:System Slot Type:182",
         "d:System Slot Data Bus Width:13", "d:System Slot Current Usage:4",
         "d:System Slot Length:4", "d:System Slot Type:182", "d:Slot Id:258",
         "d:Value present in the Slot Number field of the PCI Interrupt "
         "Routing table entry associated with this slot:258",
         "d:Slot characteristics 1:4", "d:Slot characteristics 2:1",
         "d:SegmentGroupNum:515", "d:BusNum:23", "d:DevFuncNum:8"});
    expectMapped(devices(8), v(3, 0),
                 {"s:Device:Enabled", "d:Onboard Device Type:3",
                  "s:Description String:Video", "s:Device:Disabled",
                  "d:Onboard Device Type:5"});
    expectMapped(counted(11, 3), v(3, 0),
                 {"d:StringCount:3", "s:OEM String:a", "s:OEM String:b"});
    expectMapped(counted(12, 2), v(3, 0),
                 {"d:StringCount:2", "s:System Configuration option:a",
                  "s:System Configuration option:b"});
    expectMapped(language, v(3, 0),
                 {"d:InstallableLanguages:2", "d:Flags:1",
                  "s:Reserved:Dump: size= 15",
                  "s:00000000:00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
                  "|...............",
                  "s:CurrentLanguages:enUS"});
    expectMapped(groups(11), v(3, 0),
                 {"s:GroupName:Pkg", "d:ItemType:7", "d:ItemHandle:1797",
                  "d:ItemType:7", "d:ItemHandle:1800"});
}

TEST(PortsSlotsStringsMapping, GatesAndCountsOnBothSides)
{
    expectProbes({
        // Slot bus address: 2.6 and a length above 13.
        {slot(), v(2, 5), "!SegmentGroupNum"},
        {shortened(slot(), 13), v(2, 6), "!BusNum"},
        {shortened(slot(), 14), v(2, 6), "+SegmentGroupNum"},
        {shortened(slot(), 14), v(2, 6), "+DevFuncNum"},
        // The language dump is there whatever the length.
        {StructureBuilder(13, 4, 0x0D00), v(3, 0), "s:Reserved:Dump: size= 15"},
    });
    const struct
    {
        StructureBuilder structure;
        const char* key;
        std::size_t count;
    } loops[] = {
        // Devices: (length - 4) / 2, rounded down.
        {devices(7), "Device", 1},
        {shortened(devices(8), 6), "Device", 1},
        {StructureBuilder(10, 5, 0x0A00), "Device", 0},
        // Strings: each present one up to the count, 255 included.
        {counted(11, 0), "OEM String", 0},
        {counted(11, 1), "OEM String", 1},
        {counted(11, 255), "OEM String", 2},
        {counted(12, 255), "System Configuration option", 2},
        // Items: (length - 5) / 3, so 4 bytes hold none, not a huge count.
        {groups(10), "ItemType", 1},
        {groups(8), "ItemHandle", 1},
        {groups(7), "ItemType", 0},
        {StructureBuilder(14, 4, 0x0E00), "ItemType", 0},
        // A length byte far past the buffer: the items there read as zero.
        {groups(8).lengthByte(255), "ItemHandle", 83},
        {devices(8).lengthByte(255), "Device", 125},
    };
    for (const auto& loop : loops)
        EXPECT_EQ(countOf(fieldsOf(loop.structure, v(3, 0)), loop.key),
                  loop.count)
            << loop.key << ", length " << int{loop.structure.build()[1]};
}
