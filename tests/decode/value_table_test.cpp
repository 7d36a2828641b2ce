#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::FieldCapture;
using testing::ElementsAre;
using testing::IsEmpty;

namespace
{

// The text QueryTable finds for value, or "<miss>"; a miss must also leave
// the caller's pointer alone and return 6.
std::string lookUp(const ValueTextEntry* table, uint64_t count, uint8_t value)
{
    const char* untouched = "<miss>";
    const char* text = untouched;
    const uint32_t result = QueryTable(table, count, value, &text);
    if (text == untouched)
    {
        EXPECT_EQ(result, 6U) << "value " << int{value};
        return text;
    }
    EXPECT_EQ(result, value);
    return text;
}

} // namespace

TEST(QueryTable, RangesSingleRowsAndCountedRowsOnly)
{
    // A custom table: only the low sixteen bits of a code take part, and a
    // range whose last value is not above its first never matches.
    const ValueTextEntry custom[] = {
        {0x00030005, "upper bytes ignored"},
        {0x0709, "backwards range"},
        {0x0A0A, "empty range"},
        {0x0C0B, "range"},
    };
    const struct
    {
        const ValueTextEntry* table;
        uint64_t count;
        uint8_t value;
        const char* text;
    } cases[] = {
        {MCHostInterfaceTypeTable, 3, 63, "MCTP Host Interface "},
        {MCHostInterfaceTypeTable, 3, 64, "Network Host Interface "},
        {MCHostInterfaceTypeTable, 3, 65, "<miss>"},
        {MCHostInterfaceTypeTable, 3, 240, "OEM defined "},
        {MCHostInterfaceTypeTable, 3, 241, "<miss>"},
        {SELTypesTable, 27, 255, "End-of-log"},
        {SELTypesTable, 27, 128, "System and OEM specified"},
        {SystemWakeupTypeTable, 0, 1, "<miss>"},
        {SystemWakeupTypeTable, 3, 2, "Unknown"},
        {SystemWakeupTypeTable, 3, 3, "<miss>"},
        {custom, 4, 5, "upper bytes ignored"},
        {custom, 4, 8, "<miss>"},
        {custom, 4, 9, "<miss>"},
        {custom, 4, 10, "<miss>"},
        {custom, 4, 11, "range"},
        {custom, 4, 12, "range"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lookUp(c.table, c.count, c.value), c.text)
            << c.table[0].text << ", value " << int{c.value};
}

TEST(QueryTable, NullArgumentsFindNothing)
{
    const char* text = nullptr;
    EXPECT_EQ(QueryTable(nullptr, 3, 1, &text), 6U);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(QueryTable(SystemWakeupTypeTable, 9, 1, nullptr), 6U);
}

TEST(AddBitsInfo, OneHexWeightedFieldPerSetBitWithARowInTableOrder)
{
    const ValueTextEntry table[] = {
        {4, "Bit four"}, {0, "Bit zero"}, {31, "Top bit"}, {40, "No bit"}};
    FieldCapture fields;
    AddBitsInfo(table, 4, 0x80000013, fields.list());
    // Bit 1 has no row; the row for bit 40 can never match.
    EXPECT_THAT(fields.strings(), ElementsAre("x:Bit four:10", "x:Bit zero:1",
                                              "x:Top bit:80000000"));
}

TEST(AddBitsInfo, NothingForClearBitsZeroCountOrNullArguments)
{
    FieldCapture fields;
    AddBitsInfo(PostResultsBitmapDw1Table, 32, 0, fields.list());
    AddBitsInfo(PostResultsBitmapDw1Table, 0, 0xFFFFFFFF, fields.list());
    AddBitsInfo(nullptr, 32, 0xFFFFFFFF, fields.list());
    AddBitsInfo(PostResultsBitmapDw1Table, 32, 0xFFFFFFFF, nullptr);
    EXPECT_THAT(fields.strings(), IsEmpty());
}

TEST(AddBitsInfo, AppendsAfterWhatTheListHolds)
{
    FieldCapture fields;
    AddJSONString("first", "Key", fields.list());
    AddBitsInfo(SlotCharacteristics2Table, 3, 0x06, fields.list());
    EXPECT_THAT(fields.strings(),
                ElementsAre("s:Key:first", "x:Slot supports hot-plug devices:2",
                            "x:PCI slot supports SMBus signal:4"));
}
