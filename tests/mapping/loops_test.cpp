// The loops whose counts come from the structure, on both sides of each
// count and beyond the buffer. The export's objects keep one value per key,
// so these field lists are the only place where every pass shows.
#include "mapping/mapping_support.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <span>

using namespace qvmtest;

namespace
{

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

// A memory controller with slot handles 0x0600 and 0x0601 and the enabled
// capabilities after them.
StructureBuilder controller(std::uint8_t slots)
{
    return StructureBuilder(5, 20, 0x0500)
        .u8(14, slots)
        .u16(15, 0x0600)
        .u16(17, 0x0601)
        .u8(19, 0x20);
}

// A type-40 structure holding the entry bytes given under a count.
StructureBuilder entries(std::uint8_t count, const Bytes& bytes)
{
    const auto length = static_cast<std::uint8_t>(5 + bytes.size());
    return StructureBuilder(40, length, 0x2800).u8(4, count).bytes(5, bytes);
}

// A structure and how many times key must show when it is read.
struct Loop
{
    StructureBuilder structure;
    const char* key;
    long count;
};

void expectCounts(std::span<const Loop> loops, qvm::decode::Policy policy)
{
    for (const auto& loop : loops)
        EXPECT_EQ(countKey(mapped(loop.structure, v(3, 2), {}, policy).fields,
                           loop.key),
                  loop.count)
            << loop.key << ", type " << int{loop.structure.build()[0]}
            << ", length " << int{loop.structure.build()[1]};
}

} // namespace

TEST(MappingLoops, CountsOnBothSidesAndPastTheBuffer)
{
    const Loop loops[] = {
        // Devices: (length - 4) / 2, rounded down.
        {devices(8), "Device", 2},
        {devices(7), "Device", 1},
        {shortened(devices(8), 6), "Device", 1},
        {StructureBuilder(10, 5, 0x0A00), "Device", 0},
        // Strings: each present one up to the count, 255 included.
        {counted(11, 0), "OEM String", 0},
        {counted(11, 1), "OEM String", 1},
        {counted(11, 255), "OEM String", 2},
        {counted(12, 2), "System Configuration option", 2},
        {counted(12, 255), "System Configuration option", 2},
        // Items: (length - 5) / 3, so 4 bytes hold none, not a huge count.
        {groups(11), "ItemType", 2},
        {groups(10), "ItemType", 1},
        {groups(8), "ItemHandle", 1},
        {groups(7), "ItemType", 0},
        {StructureBuilder(14, 4, 0x0E00), "ItemType", 0},
        // A length byte far past the buffer: the items there read as zero.
        {groups(8).lengthByte(255), "ItemHandle", 83},
        {devices(8).lengthByte(255), "Device", 125},
        // Memory channel devices and controller slots as counted, reading
        // past the structure.
        {StructureBuilder(37, 10, 0x2500).bytes(6, {255, 3, 0x00, 0x11}),
         "Memory Device", 255},
        {controller(2), "Handle", 2},
        {controller(255), "Handle", 255},
        // Additional information: a malformed entry ends the list before
        // any of its fields, keeping the entries before it.
        {entries(1, {0, 0, 0, 0, 0}), "Entry Length", 0},     // zero length
        {entries(1, {4, 0, 0, 0, 0}), "Entry Length", 0},     // short header
        {entries(1, {20, 0, 0, 0, 0, 0}), "Entry Length", 0}, // too long
        {entries(3, {6, 0, 0, 0, 0, 0}), "Entry Length", 1},  // count too big
        {entries(2, {6, 0, 0, 0, 0, 1, 0, 1}), "Entry Length", 1},
        {entries(1, {5, 0, 0, 0, 0}), "Entry Length", 1}, // no value
    };
    expectCounts(loops, qvm::decode::Policy::Library);
}

// Read as it is, a structure shows no item that reaches past its formatted
// area, whatever its count says.
TEST(MappingLoops, FaithfulWalksEndWithTheFormattedArea)
{
    const Loop loops[] = {
        {StructureBuilder(37, 10, 0x2500).bytes(6, {255, 3, 0x00, 0x11}),
         "Memory Device", 1},
        {StructureBuilder(37, 13, 0x2500).bytes(6, {2, 3, 0, 0, 4, 0, 0}),
         "Device Load", 2},
        // Log type descriptors: two held, the count says four.
        {StructureBuilder(15, 27, 0x0F00).bytes(21, {4, 2, 1, 0, 2, 0}),
         "System Event Log Type", 2},
        {StructureBuilder(45, 27, 0x2D00).u8(23, 9).u16(24, 0x0100),
         "AssociatedComponentHandle", 1},
        {entries(3, {6, 0, 0, 0, 0, 0}), "Entry Length", 1},
        {counted(11, 255), "OEM String", 2},
    };
    expectCounts(loops, qvm::decode::Policy::Faithful);
}

TEST(MappingLoops, EachPassReadsItsOwnBytes)
{
    expectGolden(
        "loops",
        {devices(8), groups(11),
         StructureBuilder(37, 13, 0x2500)
             .bytes(4, {3, 8, 2, 3, 0x00, 0x11, 4, 0x01, 0x11}),
         // Entries of 6 and 8 bytes, each starting where the last ended.
         StructureBuilder(40, 19, 0x2800)
             .bytes(4, {2, 6, 0x00, 0x27, 0x0C, 1, 0xAB})
             .bytes(11, {8, 0x01, 0x04, 0x10, 2, 1, 2, 3})
             .string("Build")
             .string("Slot")},
        v(3, 2));
    // The slot handles and the byte after them read as zero past the table.
    const auto past = fieldsOf(controller(255), v(3, 2));
    EXPECT_THAT(past, testing::Contains("d:Handle:1537"));
    EXPECT_EQ(past.back(), "d:Memory Controller Error Correct Capability:0");
    const auto channel = fieldsOf(
        StructureBuilder(37, 10, 0x2500).bytes(6, {255, 3, 0x00, 0x11}),
        v(3, 2));
    EXPECT_THAT(channel, testing::Contains("d:Device Handle:4352"));
    EXPECT_EQ(channel.back(), "d:Device Handle:0");
}
