#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
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

template <std::size_t N>
std::string lookUp(const ValueTextEntry (&table)[N], uint8_t value)
{
    return lookUp(table, N, value);
}

} // namespace

TEST(QueryTable, RangeRowsCoverBothEnds)
{
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 0), "MCTP Host Interface ");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 63), "MCTP Host Interface ");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 64), "Network Host Interface ");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 65), "<miss>");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 239), "<miss>");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 240), "OEM defined ");
    EXPECT_EQ(lookUp(MCHostInterfaceTypeTable, 241), "<miss>");
    EXPECT_EQ(lookUp(IPMIDIBMCInterfaceTypeTable, 255),
              "Reserved for future assignment by this specification ");
}

TEST(QueryTable, SingleRowAfterARangeAndTheMatchedValueAsResult)
{
    EXPECT_EQ(lookUp(SELTypesTable, 255), "End-of-log");
    EXPECT_EQ(lookUp(SELTypesTable, 254), "System and OEM specified");
    EXPECT_EQ(lookUp(SELTypesTable, 128), "System and OEM specified");
    EXPECT_EQ(lookUp(SELTypesTable, 127), "Unused by SMBIOS specification");
    const char* text = nullptr;
    EXPECT_EQ(QueryTable(SELTypesTable, 27, 23, &text), 23U);
    EXPECT_STREQ(text, "System boot");
}

TEST(QueryTable, EmptyCountAndShortCountFindNothing)
{
    EXPECT_EQ(lookUp(SystemWakeupTypeTable, 0, 1), "<miss>");
    // Only the rows counted take part.
    EXPECT_EQ(lookUp(SystemWakeupTypeTable, 3, 2), "Unknown");
    EXPECT_EQ(lookUp(SystemWakeupTypeTable, 3, 3), "<miss>");
}

TEST(QueryTable, OnlyTheLowSixteenBitsOfACodeMatch)
{
    const ValueTextEntry table[] = {
        {0x00030005, "upper bytes ignored"},
        {0x0709, "backwards range"},
        {0x0A0A, "empty range"},
        {0x0C0B, "range"},
    };
    EXPECT_EQ(lookUp(table, 5), "upper bytes ignored");
    // A range whose last value is not above its first never matches.
    EXPECT_EQ(lookUp(table, 8), "<miss>");
    EXPECT_EQ(lookUp(table, 9), "<miss>");
    EXPECT_EQ(lookUp(table, 10), "<miss>");
    EXPECT_EQ(lookUp(table, 11), "range");
    EXPECT_EQ(lookUp(table, 12), "range");
}

TEST(QueryTable, NullArgumentsFindNothing)
{
    const char* text = nullptr;
    EXPECT_EQ(QueryTable(nullptr, 3, 1, &text), 6U);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(QueryTable(SystemWakeupTypeTable, 9, 1, nullptr), 6U);
}

TEST(AddBitsInfo, OneHexWeightedFieldPerSetBitWithARow)
{
    const ValueTextEntry table[] = {
        {0, "Bit zero"}, {4, "Bit four"}, {31, "Top bit"}, {40, "No bit"}};
    FieldCapture fields;
    AddBitsInfo(table, 4, 0x80000013, fields.list());
    // Bit 1 has no row; the row for bit 40 can never match.
    EXPECT_THAT(fields.strings(), ElementsAre("x:Bit zero:1", "x:Bit four:10",
                                              "x:Top bit:80000000"));
}

TEST(AddBitsInfo, RowsAreWalkedInTableOrder)
{
    const ValueTextEntry table[] = {{3, "three"}, {1, "one"}};
    FieldCapture fields;
    AddBitsInfo(table, 2, 0x0A, fields.list());
    EXPECT_THAT(fields.strings(), ElementsAre("x:three:8", "x:one:2"));
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

namespace
{

struct TableSize
{
    const char* name;
    const ValueTextEntry* rows;
    std::size_t declared;
    std::size_t expected;
};

#define QVM_TABLE_SIZE(table, rows)                                            \
    TableSize                                                                  \
    {                                                                          \
#table, table, std::size(table), rows                                  \
    }

// Every table with the number of rows its enumeration has.
const TableSize kTableSizes[] = {
    QVM_TABLE_SIZE(SystemWakeupTypeTable, 9),
    QVM_TABLE_SIZE(BaseBoardFeatureFlagsTable, 5),
    QVM_TABLE_SIZE(BaseBoardBoardTypeTable, 13),
    QVM_TABLE_SIZE(SystemEnclosureTypeTable, 36),
    QVM_TABLE_SIZE(SystemEnclosureStatusTable, 6),
    QVM_TABLE_SIZE(SESecurityStatusTable, 5),
    QVM_TABLE_SIZE(ProcessorTypeTable, 6),
    QVM_TABLE_SIZE(ProcessorUpgradeTable, 56),
    QVM_TABLE_SIZE(ProcessorCharacteristicsTable, 7),
    QVM_TABLE_SIZE(McErrorDetectMethodTable, 8),
    QVM_TABLE_SIZE(McErrorCorrectCapabilityTable, 6),
    QVM_TABLE_SIZE(McInterleaveSupportTable, 7),
    QVM_TABLE_SIZE(McMemorySpeedsTable, 5),
    QVM_TABLE_SIZE(MemoryModuleVoltageTable, 3),
    QVM_TABLE_SIZE(MmMemoryTypeTable, 11),
    QVM_TABLE_SIZE(MmErrorStatusTable, 3),
    QVM_TABLE_SIZE(CacheSRAMTypeTable, 7),
    QVM_TABLE_SIZE(CacheErrCorrectingTypeTable, 6),
    QVM_TABLE_SIZE(CacheSystemCacheTypeTable, 5),
    QVM_TABLE_SIZE(CacheAssociativityTable, 14),
    QVM_TABLE_SIZE(PortConnectorTypeTable, 41),
    QVM_TABLE_SIZE(PortTypeTable, 37),
    QVM_TABLE_SIZE(SystemSlotTypeTable, 58),
    QVM_TABLE_SIZE(SystemSlotDataBusWidthTable, 14),
    QVM_TABLE_SIZE(SystemSlotCurrentUsageTable, 4),
    QVM_TABLE_SIZE(SystemSlotLengthTable, 4),
    QVM_TABLE_SIZE(SlotCharacteristics1Table, 8),
    QVM_TABLE_SIZE(SlotCharacteristics2Table, 3),
    QVM_TABLE_SIZE(OnboardDeviceTypesTable, 10),
    QVM_TABLE_SIZE(SELTypesTable, 27),
    QVM_TABLE_SIZE(SELVarDataFormatTypeTable, 9),
    QVM_TABLE_SIZE(PostResultsBitmapDw1Table, 32),
    QVM_TABLE_SIZE(PostResultsBitmapDw2Table, 32),
    QVM_TABLE_SIZE(SELSysManagementTypesTable, 16),
    QVM_TABLE_SIZE(PMALocationTable, 14),
    QVM_TABLE_SIZE(PMAUseTable, 7),
    QVM_TABLE_SIZE(PMAErrorCorrectionTypesTable, 7),
    QVM_TABLE_SIZE(MemoryDeviceFormFactorTable, 15),
    QVM_TABLE_SIZE(MemoryDeviceTypeTable, 27),
    QVM_TABLE_SIZE(MemoryDeviceTypeDetailTable, 14),
    QVM_TABLE_SIZE(MemoryErrorTypeTable, 14),
    QVM_TABLE_SIZE(MemoryErrorGranularityTable, 4),
    QVM_TABLE_SIZE(MemoryErrorOperationTable, 5),
    QVM_TABLE_SIZE(PointingDeviceTypeTable, 7),
    QVM_TABLE_SIZE(PointingDeviceInterfaceTable, 11),
    QVM_TABLE_SIZE(PBDeviceChemistryTable, 8),
    QVM_TABLE_SIZE(VPStatusTable, 6),
    QVM_TABLE_SIZE(VPLocationTable, 11),
    QVM_TABLE_SIZE(CoolingDeviceStatusTable, 6),
    QVM_TABLE_SIZE(CoolingDeviceTypeTable, 11),
    QVM_TABLE_SIZE(TemperatureProbeStatusTable, 6),
    QVM_TABLE_SIZE(TemperatureProbeLocTable, 11),
    QVM_TABLE_SIZE(ECPStatusTable, 6),
    QVM_TABLE_SIZE(ECPLocTable, 11),
    QVM_TABLE_SIZE(MDTypeTable, 13),
    QVM_TABLE_SIZE(MDAddressTypeTable, 5),
    QVM_TABLE_SIZE(MemoryChannelTypeTable, 4),
    QVM_TABLE_SIZE(IPMIDIBMCInterfaceTypeTable, 5),
    QVM_TABLE_SIZE(MCHostInterfaceTypeTable, 3),
    QVM_TABLE_SIZE(StructureTypeInfoTable, 48),
};

} // namespace

TEST(Tables, EveryTableHasItsRowsAndEveryRowAText)
{
    EXPECT_EQ(std::size(kTableSizes), 60U);
    for (const TableSize& table : kTableSizes)
    {
        SCOPED_TRACE(table.name);
        EXPECT_EQ(table.declared, table.expected);
        // A row left out of a definition would read as a zero row at the end.
        for (std::size_t i = 0; i < table.declared; ++i)
            EXPECT_NE(table.rows[i].text, nullptr) << "row " << i;
    }
}

TEST(Tables, BitTablesHoldOneRowPerBit)
{
    for (const ValueTextEntry* table :
         {PostResultsBitmapDw1Table, PostResultsBitmapDw2Table})
    {
        for (uint32_t bit = 0; bit < 32; ++bit)
            EXPECT_EQ(table[bit].code, bit);
    }
    EXPECT_STREQ(PostResultsBitmapDw1Table[24].text,
                 "Second DWORD has valid data ");
    EXPECT_STREQ(PostResultsBitmapDw2Table[31].text,
                 "Audio Resource Conflict ");
}
