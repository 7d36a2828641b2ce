#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <vector>

using qvmtest::decoded;
using qvmtest::FieldCapture;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace
{

using Bytes = std::vector<uint8_t>;
using Strings = std::vector<std::string>;

const char* const kRecords = "s:System Event Log records:  ";

// One log record dated 2021-03-15 13:05:09 unless told otherwise: type,
// length byte, the six date bytes, then whatever follows.
Bytes record(uint8_t type, uint8_t length, const Bytes& rest, uint8_t year = 21)
{
    Bytes bytes = {type, length, year, 3, 15, 13, 5, 9};
    for (const uint8_t byte : rest)
        bytes.push_back(byte);
    return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The walk over exactly these bytes (a heap copy of that size, so a read
// past the end is caught by the sanitizer build).
Strings walk(const Bytes& log)
{
    FieldCapture fields;
    qvmAddSysEventLogData(log.data(), static_cast<uint32_t>(log.size()),
                          fields.list());
    return fields.strings();
}

// The fields of a record header whose length byte is length (unread).
Strings recordFields(const char* type, uint32_t code, uint32_t length,
                     const char* date = "2021/03/15, 13:5:9")
{
    return {"d:System Event Log Type:" + std::to_string(code),
            std::string("s:Item:") + type,
            "d:Log Header Len:" + std::to_string(length),
            "d:Log Header length (masked):" + std::to_string(length & 0x7F),
            length & 0x80 ? "s:Log Record Status:This record has been read"
                          : "s:Log Record Status:This record has not been read",
            std::string("s:Date/Time:") + date};
}

Strings join(std::initializer_list<Strings> parts)
{
    Strings all;
    for (const Strings& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Strings kNoStandardFormat = {
    "d:Event Log Variable Data Format Types:0", "s:Item:None ",
    "s:Event Log Variable Data Format Types:No standard format data is "
    "available"};

} // namespace

TEST(EventLogDecoders, CodesRangesHeadersAndVariableData)
{
    const uint8_t zeros[16] = {};
    // Variable data: a POST bitmap of two unaligned double words, a
    // handle with its counter, a management type with its counter.
    const uint8_t bitmap[] = {4, 0x01, 0, 0, 0, 0, 0, 0, 0x80};
    const uint8_t handle[] = {3, 0x34, 0x12, 0x05, 0x00, 0x00, 0x01};
    const uint8_t management[] = {6, 0x30, 0, 0, 0, 0x02, 0, 0, 0};
    const char* format = "d:Event Log Variable Data Format Types:";
    qvmtest::expectDecoded({
        {decoded(qvmAddSELAccessMethod, 127U),
         {"d:Access method:127", "s:Access method:Available for future "
                                 "assignment via this specification"}},
        {decoded(qvmAddSELAccessMethod, 128U),
         {"d:Access method:128", "s:Access method:BIOS Vendor/OEM-specific"}},
        {decoded(qvmAddSELLogStatus, 0x03U),
         {"d:Log Status:3", "s:Log Status:Log area valid",
          "s:Log Status:Log area full"}},
        {decoded(qvmAddSELLogStatus, 0x80U),
         {"d:Log Status:128", "s:Log Status:Log area not valid",
          "s:Log Status:Log area not full",
          "s:Log Status:Reserved bits not zero"}},
        {decoded(qvmAddSysEventLogHeaderFormat, 2U),
         {"d:Log Header Format:2", "s:Log Header Format:Available for future"}},
        {decoded(qvmAddSysEventLogHeaderFormat, 255U),
         {"d:Log Header Format:255",
          "s:Log Header Format:BIOS Vendor/OEM-specific format"}},
        {decoded(qvmAddSELLogHeaderLen, 0x92U),
         {"d:Log Header Len:146", "d:Log Header length (masked):18",
          "s:Log Record Status:This record has been read"}},
        // Headers other than type 1 (the sample's export pins that one)
        // give only their text.
        {decoded(qvmAddSysEventLogHeader, 127U, zeros),
         {"s:Log Header Format:Available for future assignment via this "
          "specification"}},
        {decoded(qvmAddSysEventLogHeader, 128U, zeros),
         {"s:Log Header Format:BIOS Vendor/OEM-specific format"}},
        {decoded(qvmAddSysEventLogHeader, 1U,
                 static_cast<const uint8_t*>(nullptr)),
         {}},
        {decoded(qvmAddElVdfInfo, 4U, bitmap),
         {std::string(format) + "4", "s:Item:POST Results Bitmap ",
          "d:POST Results Bitmap - First DWORD:1", "x:Channel 2 Timer error :1",
          "d:POST Results Bitmap - Second DWOR:2147483648",
          "x:Audio Resource Conflict :80000000"}},
        {decoded(qvmAddElVdfInfo, 3U, handle),
         {std::string(format) + "3", "s:Item:Multiple-Event Handle ",
          "s:Event Log Variable Data Format Types:SMBIOS structure associated "
          "with the hardware element that failed",
          "d:Structure handle:4660", "d:multiple-event counter:16777221"}},
        {decoded(qvmAddElVdfInfo, 6U, management),
         {std::string(format) + "6",
          "s:Item:Multiple-Event System Management Type ",
          "d:System Management Types:48",
          "s:Item:Chassis secure switch activated ",
          "d:multiple-event counter:2"}},
        {decoded(qvmAddElVdfInfo, 200U, zeros),
         {std::string(format) + "200", "s:Item:OEM assigned ",
          "s:Event Log Variable Data Format Types:Available for system- and "
          "OEM-specific assignments"}},
    });
}

TEST(SysEventLogData, EmptyLogGivesOnlyTheTitle)
{
    EXPECT_THAT(walk(record(0xFF, 8, {})), ElementsAre(kRecords));
    const uint8_t end = 0xFF; // not part of a log of size 0
    FieldCapture fields;
    qvmAddSysEventLogData(&end, 0, fields.list());
    EXPECT_THAT(fields.strings(), ElementsAre(kRecords));
}

TEST(SysEventLogData, CenturyFromTheYearByte)
{
    const auto dateOf = [](uint8_t year)
    {
        const Strings strings = walk(record(23, 8, {}, year));
        return strings.back();
    };
    EXPECT_EQ(dateOf(0), "s:Date/Time:2000/03/15, 13:5:9");
    EXPECT_EQ(dateOf(79), "s:Date/Time:2079/03/15, 13:5:9");
    EXPECT_EQ(dateOf(80), "s:Date/Time:1980/03/15, 13:5:9");
    EXPECT_EQ(dateOf(100), "s:Date/Time:error");
}

TEST(SysEventLogData, RecordsUntilTheEndOfTheLogOrABadRecord)
{
    const Bytes noVariableData = {0, 0, 0, 0, 0, 0, 0, 0};
    Bytes readRecord = record(23, 0x92, {0, 0xAA, 0xAA});
    readRecord.resize(18, 0xAA);
    const struct
    {
        const char* what;
        Bytes log;
        Strings expected;
    } cases[] = {
        {"two records filling the log",
         concat({record(23, 16, noVariableData),
                 record(1, 16, noVariableData, 99)}),
         join({recordFields("System boot", 23, 16), kNoStandardFormat,
               recordFields("Single-bit ECC memory error", 1, 16,
                            "1999/03/15, 13:5:9"),
               kNoStandardFormat})},
        {"a bad year skips the variable data but not the next record",
         concat({record(23, 10, {4, 0xFF}, 100), record(0xFF, 8, {})}),
         join({recordFields("System boot", 23, 10, "error"),
               recordFields("End-of-log", 255, 8)})},
        {"the read flag does not count in the length",
         concat({readRecord, record(0xFF, 8, {}), {0x55, 0x55}}),
         join({recordFields("System boot", 23, 0x92), kNoStandardFormat,
               recordFields("End-of-log", 255, 8)})},
        // A 10-byte record claims a POST bitmap but holds only its first
        // byte; the next record's bytes must not be taken for the rest.
        {"variable data stops at the end of its record",
         concat({record(8, 10, {4, 0x01}), record(0xFF, 8, {})}),
         join({recordFields("POST Error", 8, 10),
               {"d:Event Log Variable Data Format Types:4",
                "s:Item:POST Results Bitmap ",
                "d:POST Results Bitmap - First DWORD:1",
                "x:Channel 2 Timer error :1",
                "d:POST Results Bitmap - Second DWOR:0"},
               recordFields("End-of-log", 255, 8)})},
        // Length bits of 0 would decode the same record for ever.
        {"length zero", concat({record(23, 0x80, {}), record(23, 8, {})}),
         join({recordFields("System boot", 23, 0x80),
               {"s:Notice:Log record of length 0 ends the log"}})},
        {"header cut by the end of the data",
         concat({record(23, 8, {}), {23, 8, 21, 3}}),
         join({recordFields("System boot", 23, 8),
               {"s:Notice:Log record cut short by the end of the log data"}})},
        {"record longer than the data", record(23, 40, {0, 1, 2}),
         join({recordFields("System boot", 23, 40), kNoStandardFormat})},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        EXPECT_THAT(walk(c.log),
                    ElementsAreArray(join({{kRecords}, c.expected})));
    }
}

TEST(EventLogDecoders, NullPointerOrListAppendsNothing)
{
    const uint8_t bytes[16] = {};
    qvmAddSELAccessMethod(0, nullptr);
    qvmAddSELLogStatus(0, nullptr);
    qvmAddSysEventLogHeaderFormat(0, nullptr);
    qvmAddSELLogHeaderLen(0, nullptr);
    qvmAddSysEventLogHeaderType1(bytes, nullptr);
    qvmAddSysEventLogHeader(1, bytes, nullptr);
    qvmAddElVdfInfo(4, bytes, nullptr);
    qvmAddSysEventLogData(bytes, 16, nullptr);
    FieldCapture fields;
    qvmAddSysEventLogHeaderType1(nullptr, fields.list());
    qvmAddElVdfInfo(4, nullptr, fields.list());
    qvmAddSysEventLogData(nullptr, 16, fields.list());
    EXPECT_THAT(fields.strings(), IsEmpty());
}
