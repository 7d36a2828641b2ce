#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <cstdint>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numeric>
#include <string>
#include <vector>

using fieldstest::takeFieldStrings;
using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;

namespace
{

std::vector<std::string> dump(const std::vector<uint8_t>& bytes)
{
    FieldList list{};
    DumpHex(static_cast<uint32_t>(bytes.size()), bytes.data(), &list);
    return takeFieldStrings(list);
}

std::vector<uint8_t> counting(std::size_t size, uint8_t first = 0)
{
    std::vector<uint8_t> bytes(size);
    std::iota(bytes.begin(), bytes.end(), first);
    return bytes;
}

} // namespace

// Nodes are linked head to tail; a value-less string is dropped.
TEST(Emitters, AppendFieldStringsInCallOrderUncut)
{
    const std::string key(300, 'k');
    const std::string value(5000, 'v');
    FieldList list{};
    AddJSONString(nullptr, "Key", &list);
    AddJSONString("", "Key", &list);
    AddJSONString("a:b", nullptr, &list);
    AddJSONintValue(INT64_MIN, "Min", &list);
    AddJSONintValue(INT64_MAX, nullptr, &list);
    AddJSONString(value.c_str(), key.c_str(), &list);
    AddJSONintValue(-123456789, key.c_str(), &list);
    EXPECT_EQ(list.count, 6U);
    ASSERT_NE(list.tail, nullptr);
    EXPECT_EQ(list.tail->next, nullptr);
    EXPECT_EQ(list.tail->text, "d:" + key + ":-123456789");
    EXPECT_THAT(takeFieldStrings(list),
                ElementsAre("s:Key:", "s:a:b", "d:Min:-9223372036854775808",
                            "d:9223372036854775807", "s:" + key + ":" + value,
                            "d:" + key + ":-123456789"));
}

// A list taken apart part-way, even to empty, still appends at its end.
TEST(Emitters, ListStaysWholeWhileItsTextsAreTaken)
{
    FieldList list{};
    AddJSONintValue(1, "A", &list);
    AddJSONintValue(2, "B", &list);
    qvm::HeapString first(qvm::takeFirstText(list));
    EXPECT_STREQ(first.get(), "d:A:1");
    AddJSONintValue(3, "C", &list);
    qvm::HeapString second(qvm::takeFirstText(list));
    qvm::HeapString third(qvm::takeFirstText(list));
    EXPECT_EQ(qvm::takeFirstText(list), nullptr);
    AddJSONintValue(4, "D", &list);
    EXPECT_THAT(takeFieldStrings(list), ElementsAre("d:D:4"));
    EXPECT_STREQ(third.get(), "d:C:3");
}

// A line holds 32 bytes in hex, two blanks after the sixteenth, then the
// bytes again with everything but ASCII letters and digits shown as ".", so a
// dumped value never holds a colon. Keys are line offsets.
TEST(DumpHex, LinesShowHexThenLettersAndDigits)
{
    struct Case
    {
        std::vector<uint8_t> bytes;
        std::size_t lines;
        std::string last;
    };
    const Case cases[] = {
        {counting(64, 0x40), 2,
         "s:00000020:60 61 62 63 64 65 66 67 68 69 6a 6b 6c 6d 6e 6f  "
         "70 71 72 73 74 75 76 77 78 79 7a 7b 7c 7d 7e 7f "
         "|.abcdefghijklmnopqrstuvwxyz....."},
        {{':', ' ', '/', '@', '[', '`', '{', 0x7f, 0x80, 0xc1, 0xff, '\n', 'Z',
          'a', '9', '0'},
         1,
         "s:00000000:3a 20 2f 40 5b 60 7b 7f 80 c1 ff 0a 5a 61 39 30  "
         "|............Za90"},
        {counting(300), 10,
         "s:00000120:20 21 22 23 24 25 26 27 28 29 2a 2b |............"},
    };
    for (const auto& c : cases)
    {
        const auto lines = dump(c.bytes);
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.back(), c.last);
        EXPECT_EQ(lines.front().substr(0, 11), "s:00000000:");
    }
}

TEST(DumpHex, TracesOnlyWhenThereIsSomethingToDump)
{
    LogCapture log;
    const uint8_t byte = 1;
    FieldList list{};
    DumpHex(0, &byte, &list);
    DumpHex(1, nullptr, &list);
    DumpHex(1, &byte, nullptr);
    EXPECT_EQ(list.count, 0U);
    EXPECT_TRUE(log.lines().empty());
    dump(counting(33));
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 7, "DumpHex: Entered\n"},
                            LogLine{8, 7, "DumpHex: line count 2 - Size 33"},
                            LogLine{8, 7, "DumpHex: Exit...Success\n"}));
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

// The result is the new length; nothing is written at or past size, and a
// size smaller than the text already there appends nothing.
TEST(StrlCat, ResultIsTheNewLengthNeverPastSize)
{
    struct Case
    {
        const char* before;
        const char* add;
        uint64_t size;
        int64_t rc;
        std::string after;
    };
    const Case cases[] = {
        {"xy", "abcdef", 5, 4, "xyab"},
        {"wxyz", "a", 5, 4, "wxyz"},
        {"abcdef", "g", 3, 6, "abcdef"},
    };
    for (const auto& c : cases)
    {
        char buffer[16] = {};
        std::strcpy(buffer, c.before);
        EXPECT_EQ(qvmStrlCat(buffer, c.add, c.size), c.rc) << c.before;
        EXPECT_EQ(std::string(buffer, sizeof buffer),
                  c.after + std::string(sizeof buffer - c.after.size(), '\0'));
    }
}
