#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <cstdint>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

using fieldstest::drain;
using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;

namespace
{

std::vector<std::string> dump(const std::vector<uint8_t>& bytes)
{
    FieldList list{};
    DumpHex(static_cast<uint32_t>(bytes.size()), bytes.data(), &list);
    return drain(list);
}

std::vector<uint8_t> counting(std::size_t size, uint8_t first = 0)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

} // namespace

TEST(Emitters, AppendFieldStringsInCallOrder)
{
    FieldList list{};
    AddJSONString("True", "ISA is supported", &list);
    AddJSONString(nullptr, "Key", &list);
    AddJSONString("", "Key", &list);
    AddJSONString("a:b", nullptr, &list);
    AddJSONintValue(-1, "Value", &list);
    AddJSONintValue(4294967295LL, "Value", &list);
    AddJSONintValue(INT64_MIN, "Min", &list);
    AddJSONintValue(INT64_MAX, nullptr, &list);
    EXPECT_THAT(drain(list),
                ElementsAre("s:ISA is supported:True", "s:Key:", "s:a:b",
                            "d:Value:-1", "d:Value:4294967295",
                            "d:Min:-9223372036854775808",
                            "d:9223372036854775807"));
}

TEST(Emitters, LongKeysAndValuesAreNotCut)
{
    const std::string key(300, 'k');
    const std::string value(5000, 'v');
    FieldList list{};
    AddJSONString(value.c_str(), key.c_str(), &list);
    AddJSONintValue(-123456789, key.c_str(), &list);
    EXPECT_THAT(drain(list), ElementsAre("s:" + key + ":" + value,
                                         "d:" + key + ":-123456789"));
}

TEST(FieldList, NodesAreLinkedHeadToTail)
{
    FieldList list{};
    AddJSONString(nullptr, "Dropped", &list);
    EXPECT_EQ(list.count, 0U);
    EXPECT_EQ(list.head, nullptr);
    AddJSONString("1", "A", &list);
    EXPECT_EQ(list.count, 1U);
    EXPECT_EQ(list.head, list.tail);
    AddJSONString("2", "B", &list);
    AddJSONintValue(3, "C", &list);
    ASSERT_EQ(list.count, 3U);
    ASSERT_NE(list.head, nullptr);
    EXPECT_STREQ(list.head->text, "s:A:1");
    ASSERT_NE(list.head->next, nullptr);
    EXPECT_STREQ(list.head->next->text, "s:B:2");
    EXPECT_EQ(list.head->next->next, list.tail);
    EXPECT_STREQ(list.tail->text, "d:C:3");
    EXPECT_EQ(list.tail->next, nullptr);
    drain(list);
}

TEST(DumpHex, ShortLineHasHexThenCharacterColumn)
{
    EXPECT_THAT(dump({0x41, 0x42, 0x00}),
                ElementsAre("s:00000000:41 42 00 |AB."));
}

TEST(DumpHex, SixteenthByteIsFollowedByTwoBlanks)
{
    EXPECT_THAT(dump(counting(16, 0x30)),
                ElementsAre("s:00000000:30 31 32 33 34 35 36 37 38 39 3a 3b "
                            "3c 3d 3e 3f  |0123456789......"));
}

TEST(DumpHex, FullLineHoldsThirtyTwoBytes)
{
    const auto lines = dump(counting(64, 0x40));
    ASSERT_EQ(lines.size(), 2U);
    const std::string prefix = "s:00000020:";
    ASSERT_EQ(lines[1].substr(0, prefix.size()), prefix);
    const std::string value = lines[1].substr(prefix.size());
    EXPECT_EQ(value.size(), 130U);
    EXPECT_EQ(value, "60 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f  "
                     "70 71 72 73 74 75 76 77 78 79 7a 7b 7c 7d 7e 7f "
                     "|.abcdefghijklmnopqrstuvwxyz.....");
}

TEST(DumpHex, OnlyAsciiLettersAndDigitsAreShown)
{
    // Separators, blanks, control bytes and the upper half all become ".",
    // so a dumped value never holds a colon.
    const auto lines = dump({':', ' ', '/', '@', '[', '`', '{', 0x7f, 0x80,
                             0xc1, 0xff, '\n', 'Z', 'a', '9', '0'});
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].substr(lines[0].find('|')), "|............Za90");
    EXPECT_EQ(lines[0].find(':', 11), std::string::npos);
}

TEST(DumpHex, KeysAreLineOffsetsAndTheLastLineMayBeShort)
{
    LogCapture log;
    const auto lines = dump(counting(33));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].substr(0, 11), "s:00000000:");
    EXPECT_EQ(lines[1], "s:00000020:20 |.");
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 7, "DumpHex: Entered\n"},
                            LogLine{8, 7, "DumpHex: line count 2 - Size 33"},
                            LogLine{8, 7, "DumpHex: Exit...Success\n"}));

    const auto many = dump(counting(300));
    ASSERT_EQ(many.size(), 10U);
    EXPECT_EQ(many[8].substr(0, 11), "s:00000100:");
    EXPECT_EQ(many[9].substr(0, 11), "s:00000120:");
}

TEST(DumpHex, NothingToDumpLogsNothing)
{
    LogCapture log;
    const uint8_t byte = 1;
    FieldList list{};
    DumpHex(0, &byte, &list);
    DumpHex(1, nullptr, &list);
    DumpHex(1, &byte, nullptr);
    EXPECT_EQ(list.count, 0U);
    EXPECT_TRUE(log.lines().empty());
}

TEST(MemToString, CopiesCountBytesAndTerminates)
{
    char dst[8];
    std::fill(std::begin(dst), std::end(dst), 'z');
    MemToString(dst, "abcdef", 3);
    EXPECT_STREQ(dst, "abc");
    EXPECT_EQ(dst[4], 'z');
    MemToString(dst, "abcdef", 0);
    EXPECT_EQ(dst[0], '\0');
    EXPECT_EQ(dst[1], 'b');
}

TEST(StrlCat, ResultIsTheNewLengthNeverPastSize)
{
    char buffer[8] = "xy";
    EXPECT_EQ(qvmStrlCat(buffer, "abcdef", 5), 4);
    EXPECT_STREQ(buffer, "xyab");
    EXPECT_EQ(buffer[5], '\0'); // beyond size: untouched zero fill

    char full[5] = "wxyz";
    EXPECT_EQ(qvmStrlCat(full, "a", 5), 4);
    EXPECT_STREQ(full, "wxyz");

    char room[16] = "ab";
    EXPECT_EQ(qvmStrlCat(room, "cd", sizeof room), 4);
    EXPECT_EQ(qvmStrlCat(room, "", sizeof room), 4);
    EXPECT_STREQ(room, "abcd");

    // A size smaller than the text already there appends nothing.
    char longer[16] = "abcdef";
    EXPECT_EQ(qvmStrlCat(longer, "g", 3), 6);
    EXPECT_STREQ(longer, "abcdef");
}
