// Loading, walking and selecting through the exported interface.
#include "qvmclient.h"
#include "support/descriptors.hpp"
#include "support/loaded_table.hpp"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

using qvmtest::Bytes;
using qvmtest::LoadedTable;
using qvmtest::openDescriptors;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using qvmtest::TempFile;
using testing::ElementsAre;

namespace
{

// Offset of the structure, its whole size, the next handle.
using Step = std::tuple<std::ptrdiff_t, int, int>;

// Walks the loaded table by handles as callers do; the walk must end well
// within one call per byte.
std::vector<Step> walkByHandles()
{
    std::vector<Step> steps;
    uint16_t handle = 0xFFFF;
    const auto limit = static_cast<std::size_t>(gSMTableLength) + 1;
    do
    {
        uint8_t* structure = nullptr;
        uint16_t length = 0;
        if (SmbiosGetStructure(&handle, &structure, &length) != QVM_RC_SUCCESS)
            break;
        steps.emplace_back(structure - m_SmbiosStruct, length, handle);
    } while (handle != 0xFFFF && steps.size() <= limit);
    EXPECT_LE(steps.size(), limit) << "walk by handles does not end";
    return steps;
}

struct Selection
{
    int64_t status = -100;
    uint16_t count = 0;
    std::vector<std::ptrdiff_t> offsets;
    std::vector<uint16_t> lengths;
};

Selection select(uint8_t type)
{
    Selection out;
    uint8_t** structures = nullptr;
    uint16_t* lengths = nullptr;
    out.status =
        SmbiosGetStructureOfType(type, &structures, &lengths, &out.count);
    if (out.status == QVM_RC_SUCCESS)
    {
        EXPECT_NE(structures, nullptr);
        EXPECT_NE(lengths, nullptr);
        for (uint16_t i = 0; i < out.count; ++i)
        {
            out.offsets.push_back(structures[i] - m_SmbiosStruct);
            out.lengths.push_back(lengths[i]);
        }
    }
    std::free(structures);
    std::free(lengths);
    return out;
}

std::string text(const char* s)
{
    return s ? s : "<null>";
}

// BIOS 2.8, one system, one chassis with no strings, a second type-0
// structure (which must not count for the version), end of table.
TableBuilder sampleTable()
{
    TableBuilder table;
    table
        .add(StructureBuilder(0, 24, 0x0000)
                 .string(4, "Vendor")
                 .string(5, "2.8.1")
                 .u8(20, 2)
                 .u8(21, 8))
        .add(StructureBuilder(1, 27, 0x0001)
                 .string(4, "Maker")
                 .string(5, "Server X")
                 .string(7, "SVC1234"))
        .add(StructureBuilder(3, 22, 0x0003))
        .add(StructureBuilder(0, 24, 0x0004).string(5, "9.9").u8(20, 9))
        .add(StructureBuilder(127, 4, 0xFEFF));
    return table;
}

} // namespace

TEST(SmbiosWalk, ByHandlesDuplicatesAndTrailingZerosNeverLoop)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 5))
        .add(StructureBuilder(2, 8, 5))
        .add(StructureBuilder(3, 8, 6))
        .add(StructureBuilder(4, 8, 5))
        .raw(Bytes(64, 0));
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    EXPECT_THAT(walkByHandles(),
                ElementsAre(Step{0, 10, 5}, Step{10, 10, 6}, Step{20, 10, 5},
                            Step{30, 10, 0xFFFF}));

    // Outside a walk, a handle still means its first structure; an absent
    // one ends the walk.
    uint16_t handle = 5;
    uint8_t* structure = nullptr;
    uint16_t length = 0;
    ASSERT_EQ(SmbiosGetStructure(&handle, &structure, &length), QVM_RC_SUCCESS);
    EXPECT_EQ(structure, loaded.at(0));
    handle = 0x0042;
    EXPECT_EQ(SmbiosGetStructure(&handle, &structure, &length),
              QVM_RC_NOT_FOUND);
    EXPECT_EQ(handle, 0xFFFF);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(SmbiosGetStructure(&handle, nullptr, &length),
              QVM_RC_INVALID_REQUEST);
    // Trailing zeros are no type-0 structures.
    EXPECT_EQ(select(0).count, 0);
}

// A walk left halfway must not resume in another table: the same handle at
// the same offset there is not the structure the walk announced. The table
// loaded after it holds handle 2 first at offset 0 (a chassis) and again at
// the walk's offset (a processor); asking for handle 2 means the first one.
TEST(SmbiosWalk, CursorDoesNotSurviveAReload)
{
    TableBuilder first;
    first.add(StructureBuilder(1, 8, 1)).add(StructureBuilder(2, 8, 2));
    TableBuilder second;
    second.add(StructureBuilder(3, 8, 2)).add(StructureBuilder(4, 8, 2));
    for (const bool cleanupFirst : {false, true})
    {
        auto loaded = std::make_unique<LoadedTable>(first);
        uint16_t handle = 0xFFFF;
        uint8_t* structure = nullptr;
        uint16_t length = 0;
        ASSERT_EQ(SmbiosGetStructure(&handle, &structure, &length),
                  QVM_RC_SUCCESS);
        ASSERT_EQ(handle, 2);
        if (cleanupFirst)
            loaded.reset();
        const LoadedTable reloaded(second);
        ASSERT_EQ(SmbiosGetStructure(&handle, &structure, &length),
                  QVM_RC_SUCCESS);
        EXPECT_EQ(structure[0], 3) << "cleanup first: " << cleanupFirst;
    }
}

TEST(SmbiosString, LookupsMoveTheSlotOnlyPastTheLastString)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 1).string("one").string("two"))
        .add(StructureBuilder(127, 4, 2));
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    uint8_t* const first = loaded.at(0);
    uint8_t* const second = loaded.at(table.offsetOf(1));
    uint8_t* const end = m_SmbiosStruct + gSMTableLength;

    uint8_t* slot = first;
    EXPECT_EQ(text(SmbiosGetString(&slot, 2)), "two");
    EXPECT_EQ(SmbiosGetString(&slot, 0), nullptr);
    EXPECT_EQ(slot, first);
    EXPECT_EQ(SmbiosGetString(&slot, 3), nullptr);
    EXPECT_EQ(slot, second);
    // String 1 of a structure without strings is the empty text.
    EXPECT_EQ(text(SmbiosGetString(&slot, 1)), "");
    EXPECT_EQ(SmbiosGetString(&slot, 0xFFFF), nullptr);
    EXPECT_EQ(slot, end);
    // At the end of the table, or anywhere outside it, nothing moves.
    EXPECT_EQ(SmbiosGetString(&slot, 0xFFFF), nullptr);
    EXPECT_EQ(slot, end);
    uint8_t outside[] = {1, 4, 0, 0, 'x', 0, 0};
    slot = outside;
    EXPECT_EQ(SmbiosGetString(&slot, 1), nullptr);
    EXPECT_EQ(slot, outside);
}

TEST(SmbiosSelect, TypesInTableOrderWithWholeSizes)
{
    const auto table = sampleTable();
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    const auto bios = select(0);
    EXPECT_EQ(bios.count, 2);
    EXPECT_THAT(bios.offsets, ElementsAre(0, table.offsetOf(3)));
    EXPECT_THAT(bios.lengths, ElementsAre(24 + 14, 24 + 5));
    // The end-of-table structure is a structure like any other.
    EXPECT_THAT(select(127).lengths, ElementsAre(6));
    // An absent type: success, count 0, arrays handed out (and freed).
    const auto absent = select(17);
    EXPECT_EQ(absent.status, QVM_RC_SUCCESS);
    EXPECT_EQ(absent.count, 0);

    uint16_t count = 0;
    EXPECT_EQ(SmbiosGetStructureOfType(0, nullptr, nullptr, &count),
              QVM_RC_SUCCESS);
    EXPECT_EQ(count, 2);
    uint8_t** structures = nullptr;
    uint16_t* lengths = nullptr;
    EXPECT_EQ(SmbiosGetStructureOfType(0, &structures, nullptr, &count),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmbiosGetStructureOfType(0, nullptr, &lengths, &count),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmbiosGetStructureOfType(0, &structures, &lengths, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(structures, nullptr);
    EXPECT_EQ(lengths, nullptr);
}

TEST(SmbiosInitTest, VersionPairAndBiosInfoComeFromTheTable)
{
    LoadedTable loaded(sampleTable());
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    EXPECT_EQ(SmbiosMajorVersion, 2);
    EXPECT_EQ(SmbiosMinorVersion, 8);
    EXPECT_EQ(GetSmbiosMajorVersion(), 2U);
    EXPECT_EQ(GetSmbiosMinorVersion(), 8U);
    EXPECT_EQ(gSMDataBuffer, m_SmbiosStruct);
    EXPECT_EQ(gSMTableLength, static_cast<int64_t>(sampleTable().size()));

    SmbiosBiosInfo* info = nullptr;
    ASSERT_EQ(GetBiosInfo("SMBIOSBIOSInfo", &info), QVM_RC_SUCCESS);
    EXPECT_EQ(text(info->bios_version), "2.8.1");
    EXPECT_EQ(text(info->serial_number), "SVC1234");
    EXPECT_EQ(text(info->product_name), "Server X");
    EXPECT_EQ(info->major_release, 2);
    EXPECT_EQ(info->minor_release, 8);
    std::free(info);
    EXPECT_EQ(GetBiosInfo("SMBIOSBiosInfo", &info), QVM_RC_NOT_FOUND);
    EXPECT_EQ(GetBiosInfo(nullptr, &info), QVM_RC_NOT_FOUND);
}

// Each field comes from the first structure that has it.
TEST(SmbiosInitTest, FieldsFromTheFirstStructureThatHasThem)
{
    TableBuilder table;
    table.add(StructureBuilder(0, 24, 0).u8(20, 7).u8(21, 7))
        .add(StructureBuilder(1, 8, 1).string(7, "S1"))
        .add(StructureBuilder(1, 8, 2).string(5, "P2").string(7, "S2"))
        .add(StructureBuilder(0, 24, 3).string(5, "3.2").u8(20, 3).u8(21, 2))
        .add(StructureBuilder(1, 8, 4).string(5, "P4").string(7, "S4"));
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    EXPECT_EQ(GetSmbiosMajorVersion(), 3U);
    EXPECT_EQ(GetSmbiosMinorVersion(), 2U);
    SmbiosBiosInfo* info = nullptr;
    ASSERT_EQ(GetBiosInfo("SMBIOSBIOSInfo", &info), QVM_RC_SUCCESS);
    EXPECT_EQ(text(info->serial_number), "S1");
    EXPECT_EQ(text(info->product_name), "P2");
    std::free(info);
}

TEST(SmbiosInitTest, ReleaseBytesAreTakenWhateverTheLength)
{
    // Offsets 20 and 21 of a short structure are its string text ("CD").
    TableBuilder shortBios;
    shortBios.add(StructureBuilder(0, 18, 0).string(5, "ABCDEFGHIJ"));
    {
        LoadedTable loaded(shortBios);
        ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
        EXPECT_EQ(SmbiosMajorVersion, 'C');
        EXPECT_EQ(MinorVersion, 'D');
    }
    TableBuilder noBios;
    noBios.add(StructureBuilder(1, 8, 0));
    LoadedTable loaded(noBios);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    EXPECT_EQ(SmbiosMajorVersion, 0);
    EXPECT_EQ(MinorVersion, 0);
}

// Only a regular file is a table. A FIFO must not make the load wait for a
// writer; a device or a directory is refused before anything is read.
TEST(SmbiosInitTest, OnlyRegularFilesAreRead)
{
    const std::string fifo =
        testing::TempDir() + "qvm-fifo-" + std::to_string(getpid());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const auto descriptors = openDescriptors();
    for (const std::string& path : {std::string("/nonexistent/table.bin"), fifo,
                                    std::string("/dev/zero"), std::string("/")})
    {
        auto load = std::async(std::launch::async,
                               [&] { return SmbiosInit(path.c_str()); });
        const bool returned = load.wait_for(std::chrono::seconds(10)) ==
                              std::future_status::ready;
        if (!returned) // a writer releases a load stuck in open
            close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        EXPECT_TRUE(returned) << path << " blocked the load";
        EXPECT_EQ(load.get(), QVM_RC_NOT_FOUND) << path;
        EXPECT_EQ(m_SmbiosStruct, nullptr) << path;
        EXPECT_EQ(openDescriptors(), descriptors) << path;
    }
    std::remove(fifo.c_str());
}

TEST(SmbiosInitTest, ReloadingReplacesTheTable)
{
    TableBuilder other;
    other.add(StructureBuilder(0, 24, 9).string(5, "x").u8(20, 3).u8(21, 0));
    const TempFile first(sampleTable().build());
    const TempFile second(other.build());
    const TempFile broken(Bytes{1, 2, 3});
    ASSERT_EQ(SmbiosInit(first.path().c_str()), QVM_RC_SUCCESS);
    // Leak checking in the sanitizer build catches a buffer left behind.
    ASSERT_EQ(SmbiosInit(second.path().c_str()), QVM_RC_SUCCESS);
    EXPECT_EQ(GetSmbiosMajorVersion(), 3U);
    EXPECT_THAT(walkByHandles(), ElementsAre(Step{0, 24 + 3, 0xFFFF}));

    // A failed load keeps its bytes (for SmbiosCleanup) and the old pair.
    EXPECT_EQ(SmbiosInit(broken.path().c_str()), QVM_RC_NOT_FOUND);
    ASSERT_EQ(gSMTableLength, 3);
    EXPECT_EQ(m_SmbiosStruct[2], 3);
    EXPECT_EQ(GetSmbiosMajorVersion(), 3U);

    // After cleanup nothing is found.
    SmbiosCleanup();
    EXPECT_EQ(m_SmbiosStruct, nullptr);
    EXPECT_EQ(gSMDataBuffer, nullptr);
    EXPECT_EQ(gSMTableLength, 0);
    EXPECT_THAT(walkByHandles(), testing::IsEmpty());
    EXPECT_EQ(select(1).status, QVM_RC_NOT_FOUND);
    SmbiosBiosInfo* info = nullptr;
    EXPECT_EQ(GetBiosInfo("SMBIOSBIOSInfo", &info), QVM_RC_NOT_FOUND);
}

// A host may hand over any prefix of a table: cut in a header, in a
// formatted area or in a string set, the walk and the selections keep to
// the complete structures before the cut.
TEST(SmbiosHostile, EveryTruncationKeepsTheCompleteStructures)
{
    const auto table = sampleTable();
    const Bytes whole = table.build();
    const std::size_t ends[] = {table.offsetOf(1), table.offsetOf(2),
                                table.offsetOf(3), table.offsetOf(4),
                                whole.size()};
    for (std::size_t cut = 0; cut <= whole.size(); ++cut)
    {
        SCOPED_TRACE(cut);
        const auto complete = static_cast<std::size_t>(
            std::count_if(std::begin(ends), std::end(ends),
                          [&](auto e) { return e <= cut; }));
        LoadedTable loaded(Bytes(whole.begin(), whole.begin() + cut));
        EXPECT_EQ(loaded.status(),
                  complete > 0 ? QVM_RC_SUCCESS : QVM_RC_NOT_FOUND);
        EXPECT_EQ(walkByHandles().size(), complete);
        std::size_t selected = 0;
        for (int type = 0; type < 256; ++type)
            selected += select(static_cast<uint8_t>(type)).count;
        EXPECT_EQ(selected, complete);
    }
}

TEST(SmbiosHostile, LengthBytesBelowFourEndTheWalk)
{
    TableBuilder table;
    table.add(StructureBuilder(1, 8, 1))
        .add(StructureBuilder(2, 8, 2).lengthByte(3))
        .add(StructureBuilder(3, 8, 3));
    {
        LoadedTable loaded(table);
        ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
        EXPECT_EQ(walkByHandles().size(), 1U);
        EXPECT_EQ(select(3).count, 0);
        uint8_t* slot = loaded.at(table.offsetOf(1));
        EXPECT_EQ(SmbiosGetString(&slot, 1), nullptr);
        EXPECT_EQ(slot, loaded.at(table.offsetOf(1)));
    }
    TableBuilder first;
    first.add(StructureBuilder(0, 24, 0).string(5, "1.0").lengthByte(0));
    LoadedTable loaded(first);
    EXPECT_EQ(loaded.status(), QVM_RC_NOT_FOUND);
    EXPECT_TRUE(walkByHandles().empty());
}
