// The bounded reader on its own: views over plain byte vectors.
#include "smbios/table_view.hpp"
#include "support/table_builder.hpp"

#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvm::smbios::StructureView;
using qvm::smbios::TableView;
using qvmtest::Bytes;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

namespace
{

StructureView viewOf(const Bytes& bytes)
{
    return StructureView(bytes);
}

std::string text(const char* s)
{
    return s ? s : "<null>";
}

std::vector<std::size_t> walkOffsets(const Bytes& bytes)
{
    std::vector<std::size_t> offsets;
    for (const auto& entry : TableView(bytes))
        offsets.push_back(entry.offset);
    return offsets;
}

} // namespace

TEST(StructureView, ReadsLittleEndianInsideTheFormattedArea)
{
    const Bytes bytes = StructureBuilder(3, 20, 0xBEEF)
                            .u16(4, 0x1234)
                            .u32(6, 0x89ABCDEF)
                            .u64(10, 0x0102030405060708ULL)
                            .build();
    const auto view = viewOf(bytes);
    ASSERT_TRUE(view.valid());
    EXPECT_EQ(view.type(), 3);
    EXPECT_EQ(view.length(), 20);
    EXPECT_EQ(view.handle(), 0xBEEF);
    EXPECT_EQ(view.word(4), 0x1234);
    EXPECT_EQ(view.dword(6), 0x89ABCDEFU);
    EXPECT_EQ(view.qword(10), 0x0102030405060708ULL);
    EXPECT_EQ(view.byte(6), 0xEF);
}

TEST(StructureView, BytesPastTheFormattedAreaReadAsZero)
{
    // The string set right after a short area must not leak into fields.
    const Bytes bytes =
        StructureBuilder(1, 6, 1).u16(4, 0xFFFF).string("ABCDEFGH").build();
    const auto view = viewOf(bytes);
    EXPECT_EQ(view.byte(5), 0xFF);
    EXPECT_EQ(view.byte(6), 0);
    EXPECT_EQ(view.word(5), 0x00FF); // straddles the end
    EXPECT_EQ(view.qword(6), 0U);
    EXPECT_EQ(view.byte(SIZE_MAX), 0);
    EXPECT_EQ(view.qword(SIZE_MAX - 3), 0U); // offsets must not wrap
}

TEST(StructureView, FormattedAreaCutByTheBufferReadsZeroBeyondIt)
{
    Bytes bytes = StructureBuilder(2, 30, 1).u8(9, 0x77).u8(10, 0x55).build();
    bytes.resize(10);
    const auto view = viewOf(bytes);
    ASSERT_TRUE(view.valid());
    EXPECT_EQ(view.byte(9), 0x77);
    EXPECT_EQ(view.byte(10), 0);
    EXPECT_EQ(view.string(1), nullptr);
    EXPECT_FALSE(view.wholeSize());
}

TEST(StructureView, HeaderCutOrLengthBelowFourIsNoStructure)
{
    for (const Bytes& bytes :
         {Bytes{}, Bytes{1}, Bytes{1, 4, 0}, Bytes{1, 3, 0, 0, 'a', 0, 0},
          Bytes{0, 0, 0, 0, 0, 0}})
    {
        const auto view = viewOf(bytes);
        EXPECT_FALSE(view.valid());
        EXPECT_EQ(view.type(), 0);
        EXPECT_EQ(view.handle(), 0);
        EXPECT_EQ(view.string(1), nullptr);
        EXPECT_FALSE(view.wholeSize());
        EXPECT_TRUE(view.whole().empty());
    }
}

TEST(StructureView, FieldPointsIntoTheTableOrAtAZeroPaddedCopy)
{
    const Bytes bytes = StructureBuilder(0, 18, 0)
                            .u64(10, 0x1122334455667788ULL)
                            .string("XYZ")
                            .build();
    const auto view = viewOf(bytes);

    const auto inside = view.field(10, 8);
    EXPECT_EQ(inside.data(), bytes.data() + 10);
    EXPECT_EQ(inside.size(), 8U);

    // Runs 4 bytes past the area: the string "XYZ" must read as zeros.
    const auto past = view.field(14, 8);
    ASSERT_TRUE(past);
    EXPECT_NE(past.data(), bytes.data() + 14);
    EXPECT_EQ(Bytes(past.data(), past.data() + 8),
              (Bytes{0x44, 0x33, 0x22, 0x11, 0, 0, 0, 0}));

    // Larger than the inline copy, wholly outside.
    const auto big = view.field(100, 600);
    ASSERT_TRUE(big);
    EXPECT_EQ(Bytes(big.data(), big.data() + 600), Bytes(600, 0));

    // A moved field still points at valid bytes.
    auto moved = view.field(16, 4);
    const auto kept = std::move(moved);
    EXPECT_EQ(Bytes(kept.data(), kept.data() + 4), (Bytes{0x22, 0x11, 0, 0}));
}

TEST(StructureView, StringsAreNumberedFromOne)
{
    const Bytes bytes =
        StructureBuilder(1, 8, 1).string(4, "first").string("second").build();
    const auto view = viewOf(bytes);
    EXPECT_EQ(text(view.string(1)), "first");
    EXPECT_EQ(text(view.string(2)), "second");
    EXPECT_EQ(text(view.stringAt(4)), "first");
    EXPECT_EQ(view.string(0), nullptr);
    EXPECT_EQ(view.stringAt(5), nullptr); // number 0
    EXPECT_EQ(view.string(3), nullptr);
    EXPECT_EQ(view.lookup(3).next, bytes.size());
    EXPECT_EQ(view.wholeSize(), bytes.size());
}

TEST(StructureView, StringOneOfAnEmptySetIsTheEmptyText)
{
    const Bytes bytes = StructureBuilder(127, 4, 0xFFFE).build();
    const auto view = viewOf(bytes);
    EXPECT_EQ(text(view.string(1)), "");
    EXPECT_EQ(view.string(2), nullptr);
    EXPECT_EQ(view.wholeSize(), 6U);
}

TEST(StructureView, StringsCutByTheBufferAreNeverHandedOut)
{
    Bytes bytes =
        StructureBuilder(1, 4, 1).string("complete").string("cut").build();
    bytes.resize(bytes.size() - 3); // "cu" without its NUL
    const auto view = viewOf(bytes);
    EXPECT_EQ(text(view.string(1)), "complete");
    EXPECT_EQ(view.string(2), nullptr);
    EXPECT_EQ(view.string(3), nullptr);
    EXPECT_FALSE(view.lookup(3).next);
    EXPECT_FALSE(view.wholeSize());

    // A single NUL at the very end: the set's final NUL is missing.
    bytes = StructureBuilder(1, 4, 1).rawStrings({'a', 0}).build();
    EXPECT_EQ(text(viewOf(bytes).string(1)), "a");
    EXPECT_FALSE(viewOf(bytes).wholeSize());
}

TEST(StructureView, AnEmptyFirstStringDoesNotEndTheSet)
{
    const Bytes bytes =
        StructureBuilder(1, 4, 1).rawStrings({0, 'b', 0, 0}).build();
    const auto view = viewOf(bytes);
    EXPECT_EQ(text(view.string(1)), "");
    EXPECT_EQ(text(view.string(2)), "b");
    EXPECT_EQ(view.wholeSize(), 8U);
}

TEST(StructureView, WholeSizeBeyondSixteenBitsIsIncomplete)
{
    const std::string longText(0xFFFF, 'x');
    const Bytes bytes = StructureBuilder(1, 4, 1).string(longText).build();
    const auto view = viewOf(bytes);
    EXPECT_EQ(std::strlen(view.string(1)), longText.size());
    EXPECT_FALSE(view.wholeSize());
}

TEST(TableView, WalksByPositionWhateverTheHandles)
{
    TableBuilder table;
    table.add(StructureBuilder(0, 24, 7).string(4, "v"))
        .add(StructureBuilder(1, 8, 7))
        .add(StructureBuilder(127, 4, 7));
    const Bytes bytes = table.build();
    EXPECT_THAT(walkOffsets(bytes),
                testing::ElementsAre(table.offsetOf(0), table.offsetOf(1),
                                     table.offsetOf(2)));
    std::size_t total = 0;
    for (const auto& entry : TableView(bytes))
        total += entry.size;
    EXPECT_EQ(total, table.size());
}

TEST(TableView, StopsAtTheFirstSpotThatIsNoStructure)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 1)).add(StructureBuilder(2, 8, 2));
    const std::size_t second = table.offsetOf(1);
    const Bytes whole = table.build();

    // Every cut inside the second structure leaves the first alone.
    for (std::size_t cut = second; cut < whole.size(); ++cut)
    {
        const Bytes bytes(whole.begin(), whole.begin() + cut);
        EXPECT_THAT(walkOffsets(bytes), testing::ElementsAre(0)) << cut;
    }
    // Trailing zero bytes and a length byte below 4 end the walk too.
    table.raw(Bytes(16, 0));
    EXPECT_EQ(walkOffsets(table.build()).size(), 2U);
    table = TableBuilder();
    table.add(StructureBuilder(1, 8, 1))
        .add(StructureBuilder(2, 8, 2).lengthByte(2))
        .add(StructureBuilder(3, 8, 3));
    EXPECT_THAT(walkOffsets(table.build()), testing::ElementsAre(0));
}

TEST(TableView, ResumesAtAnOffsetAndFindsViewsByAddress)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 1)).add(StructureBuilder(2, 8, 2));
    const Bytes bytes = table.build();
    const TableView view(bytes);
    auto it = view.from(table.offsetOf(1));
    ASSERT_TRUE(it != view.end());
    EXPECT_EQ(it->view.type(), 2);
    EXPECT_TRUE(++it == view.end());
    EXPECT_TRUE(view.from(bytes.size()) == view.end());

    EXPECT_EQ(view.viewAt(bytes.data() + table.offsetOf(1)).type(), 2);
    EXPECT_FALSE(view.viewAt(bytes.data() + bytes.size()).valid());
    EXPECT_FALSE(view.viewAt(nullptr).valid());
    EXPECT_FALSE(TableView().hasStructures());
}
