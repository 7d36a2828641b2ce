// The bounded reader on its own: structure views over plain byte vectors.
#include "smbios/structure_view.hpp"
#include "support/loaded_table.hpp"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <span>
#include <string>

using qvm::smbios::StructureView;
using qvmtest::Bytes;
using qvmtest::StructureBuilder;

namespace
{

std::string text(const char* s)
{
    return s ? s : "<null>";
}

Bytes fieldBytes(const StructureView& view, std::size_t offset,
                 std::size_t width)
{
    const auto field = view.field(offset, width);
    return field ? Bytes(field.data(), field.data() + width) : Bytes{};
}

} // namespace

TEST(StructureView, HeaderAndOffsetsThatWouldWrap)
{
    const Bytes bytes = StructureBuilder(3, 20, 0xBEEF).build();
    const StructureView view(bytes);
    EXPECT_EQ(view.type(), 3);
    EXPECT_EQ(view.handle(), 0xBEEF);
    EXPECT_EQ(view.qword(SIZE_MAX - 3), 0U);
    EXPECT_EQ(view.dword(SIZE_MAX), 0U);
}

TEST(StructureView, FieldPointsIntoTheTableOrAtAZeroPaddedCopy)
{
    const Bytes bytes = StructureBuilder(0, 18, 0)
                            .u64(10, 0x1122334455667788ULL)
                            .string("XYZ")
                            .build();
    const StructureView view(bytes);
    EXPECT_EQ(view.field(10, 8).data(), bytes.data() + 10);
    // Runs past the area: the string set as it lies, zeros past the buffer.
    EXPECT_EQ(fieldBytes(view, 14, 8),
              (Bytes{0x44, 0x33, 0x22, 0x11, 'X', 'Y', 'Z', 0}));
    EXPECT_EQ(fieldBytes(view, 18, 8), (Bytes{'X', 'Y', 'Z', 0, 0, 0, 0, 0}));
    // Larger than the inline copy, and wholly outside.
    EXPECT_EQ(fieldBytes(view, 100, 600), Bytes(600, 0));
    // A moved copy still points at its own bytes.
    auto moved = view.field(16, 4);
    const auto kept = std::move(moved);
    EXPECT_EQ(Bytes(kept.data(), kept.data() + 4),
              (Bytes{0x22, 0x11, 'X', 'Y'}));
}

TEST(StructureView, StringsAndTheEndOfTheSetOrOfTheBuffer)
{
    Bytes bytes =
        StructureBuilder(1, 8, 1).string(4, "first").string("second").build();
    StructureView view(bytes);
    EXPECT_EQ(text(view.stringAt(4)), "first");
    EXPECT_EQ(text(view.string(2)), "second");
    EXPECT_EQ(view.string(0), nullptr);
    EXPECT_EQ(view.string(3), nullptr);
    EXPECT_EQ(view.lookup(3).next, bytes.size());
    EXPECT_EQ(view.wholeSize(), bytes.size());

    // An empty first string does not end the set; two NULs do.
    bytes = StructureBuilder(1, 4, 1).rawStrings({0, 'b', 0, 0}).build();
    view = StructureView(bytes);
    EXPECT_EQ(text(view.string(1)), "");
    EXPECT_EQ(text(view.string(2)), "b");
    EXPECT_EQ(view.wholeSize(), 8U);

    // Strings cut by the buffer are never handed out.
    bytes = StructureBuilder(1, 4, 1).string("complete").string("cut").build();
    bytes.resize(bytes.size() - 3); // "cu" without its NUL
    view = StructureView(bytes);
    EXPECT_EQ(text(view.string(1)), "complete");
    EXPECT_EQ(view.string(2), nullptr);
    EXPECT_FALSE(view.lookup(3).next);
    EXPECT_FALSE(view.wholeSize());

    // A set longer than a u16 whole size can say is incomplete too.
    bytes = StructureBuilder(1, 4, 1).string(std::string(0xFFFF, 'x')).build();
    view = StructureView(bytes);
    EXPECT_EQ(std::strlen(view.string(1)), 0xFFFFU);
    EXPECT_FALSE(view.wholeSize());
}

// The view's buffer ends where the table ends, not where memory does. Here
// the memory after it holds poison (bytes, a NUL, a string), and every read
// at every offset and width, every string and the whole size, must keep to
// the buffer: reads equal those of the buffer copied and zero-padded, taken
// little-endian.
TEST(StructureView, NothingPastTheBufferIsEverRead)
{
    const Bytes table = StructureBuilder(1, 8, 0x0102)
                            .u32(4, 0x04030201)
                            .string("ab")
                            .string("c")
                            .build();
    Bytes memory = table;
    memory.insert(memory.end(), {0xEE, 'x', 0, 'y', 0, 0, 0xEE, 0xEE, 0xEE,
                                 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    for (std::size_t cut = 0; cut <= table.size(); ++cut)
    {
        const std::span<const std::uint8_t> buffer(memory.data(), cut);
        const StructureView view(buffer);
        Bytes padded(table.size() + 16, 0);
        if (view.valid())
            std::copy(buffer.begin(), buffer.end(), padded.begin());
        for (std::size_t offset = 0; offset + 8 <= padded.size(); ++offset)
        {
            std::uint64_t expected = 0;
            for (std::size_t i = 0; i < 8; ++i)
                expected |= std::uint64_t{padded[offset + i]} << (8 * i);
            EXPECT_EQ(view.qword(offset), expected) << cut << "@" << offset;
            EXPECT_EQ(view.byte(offset), expected & 0xFF) << cut;
            EXPECT_EQ(view.word(offset), expected & 0xFFFF) << cut;
            EXPECT_EQ(view.dword(offset), expected & 0xFFFFFFFF) << cut;
            EXPECT_EQ(
                fieldBytes(view, offset, 3),
                Bytes(padded.begin() + offset, padded.begin() + offset + 3))
                << cut << "@" << offset;
        }
        const auto* end = reinterpret_cast<const char*>(memory.data() + cut);
        for (std::uint16_t number = 1; number <= 4; ++number)
        {
            const char* s = view.string(number);
            EXPECT_TRUE(s == nullptr || s + std::strlen(s) < end)
                << cut << ", string " << number;
        }
        EXPECT_LE(view.wholeSize().value_or(0), cut);
    }
}
