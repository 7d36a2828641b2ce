// The map from structure handles to device descriptors.
#include "qvmclient.h"
#include "support/loaded_table.hpp"

#include <gtest/gtest.h>
#include <initializer_list>
#include <tuple>

using qvmtest::Bytes;
using qvmtest::LoadedTable;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

namespace
{

// A mapping structure holding the given 4-byte entries.
StructureBuilder mapping(uint16_t handle, std::initializer_list<Bytes> entries,
                         uint8_t version = 1)
{
    StructureBuilder s(225, static_cast<uint8_t>(5 + 4 * entries.size()),
                       handle);
    s.u8(4, version);
    std::size_t offset = 5;
    for (const auto& entry : entries)
    {
        s.bytes(offset, entry);
        offset += 4;
    }
    return s.string("FQDD");
}

// Entry bytes 0 and 3 and the structure index of the record for handle.
std::tuple<int, int, int> record(uint32_t handle)
{
    const FqddMapEntry* entry = FindFqdd(handle);
    if (entry == nullptr)
        return {-1, -1, -1};
    return {entry->entry_byte0, entry->entry_byte3, entry->table_index};
}

TableBuilder withBios()
{
    TableBuilder table;
    table.add(StructureBuilder(0, 24, 0).string(5, "1.0"));
    return table;
}

} // namespace

TEST(Fqdd, MapsEveryEntryWithItsStructureIndex)
{
    auto table = withBios();
    table.add(mapping(0x10, {{1, 0x20, 0, 7}, {2, 0x21, 0, 7}}))
        .add(StructureBuilder(2, 8, 0x11))
        .add(mapping(0x12, {{3, 0x22, 0x01, 9}}));
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    ASSERT_EQ(PopulateFqdds(), QVM_RC_SUCCESS);
    EXPECT_EQ(TypeE1Supported, 1);
    EXPECT_EQ(m_countE1, 3);
    ASSERT_EQ(g_E1tableCount, 2);
    EXPECT_EQ(g_E1table[0], loaded.at(table.offsetOf(1)));
    EXPECT_EQ(g_E1table[1], loaded.at(table.offsetOf(3)));

    EXPECT_EQ(FindFqdd(0x0021), m_Fqdd + 1);
    EXPECT_EQ(record(0x0021), std::make_tuple(2, 7, 0));
    EXPECT_EQ(record(0x0122), std::make_tuple(3, 9, 1));
    EXPECT_EQ(FindFqdd(0x10021), nullptr);
    EXPECT_EQ(FindFqdd(0x0099), nullptr);
}

TEST(Fqdd, ShortStructuresAndPartialEntriesGiveNoRecord)
{
    auto table = withBios();
    // Length 8: version and three bytes, not a whole entry.
    table.add(StructureBuilder(225, 8, 0x10).u8(4, 1).bytes(5, {1, 2, 3}))
        .add(StructureBuilder(225, 11, 0x11)
                 .u8(4, 1)
                 .bytes(5, {4, 0x30, 0, 5, 6, 7}));
    LoadedTable loaded(table);
    ASSERT_EQ(PopulateFqdds(), QVM_RC_SUCCESS);
    EXPECT_EQ(m_countE1, 1);
    EXPECT_EQ(record(0x30), std::make_tuple(4, 5, 1));

    auto lone = withBios();
    lone.add(StructureBuilder(225, 8, 0x10).u8(4, 1));
    LoadedTable reloaded(lone);
    EXPECT_EQ(PopulateFqdds(), QVM_RC_SUCCESS);
    EXPECT_EQ(TypeE1Supported, 1);
    EXPECT_EQ(m_countE1, 0);
    EXPECT_EQ(FindFqdd(0), nullptr);
}

TEST(Fqdd, FailuresEmptyTheMap)
{
    auto good = withBios();
    good.add(mapping(0x10, {{1, 0x20, 0, 7}}));
    auto badVersion = withBios();
    badVersion.add(mapping(0x10, {{1, 0x20, 0, 7}}))
        .add(mapping(0x11, {{1, 0x21, 0, 7}}, 2));
    auto noMapping = withBios();
    // The version byte past a 4-byte formatted area is the table's next
    // byte, here the first string's: 2, not a version the map knows.
    auto headerOnly = withBios();
    headerOnly.add(StructureBuilder(225, 4, 0x10).string("\x02"));

    for (const auto* table : {&badVersion, &noMapping, &headerOnly})
    {
        {
            LoadedTable loaded(good);
            ASSERT_EQ(PopulateFqdds(), QVM_RC_SUCCESS);
        }
        LoadedTable loaded(*table);
        EXPECT_EQ(PopulateFqdds(), QVM_RC_NOT_FOUND);
        EXPECT_EQ(TypeE1Supported, 0);
        EXPECT_EQ(m_countE1, 0);
        EXPECT_EQ(FindFqdd(0x20), nullptr);
    }
    SmbiosCleanup();
    EXPECT_EQ(PopulateFqdds(), QVM_RC_NOT_FOUND);
    EXPECT_EQ(g_E1table, nullptr);
    EXPECT_EQ(g_E1tableCount, 0);
}

TEST(Fqdd, FirstOfTwoEqualHandlesWinsAndOutlivesTheTable)
{
    auto table = withBios();
    table.add(mapping(0x10, {{1, 0x20, 0, 7}, {2, 0x20, 0, 8}}));
    {
        LoadedTable loaded(table);
        ASSERT_EQ(PopulateFqdds(), QVM_RC_SUCCESS);
    }
    EXPECT_EQ(record(0x20), std::make_tuple(1, 7, 0));
}
