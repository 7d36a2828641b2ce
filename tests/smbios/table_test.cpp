// Loading, walking and selecting through the exported interface: what
// table.transcript cannot say.
#include "qvmclient.h"
#include "support/descriptors.hpp"
#include "support/loaded_table.hpp"

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using qvmtest::Bytes;
using qvmtest::LoadedTable;
using qvmtest::openDescriptors;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using qvmtest::TempFile;

namespace
{

// The structures a walk by handles meets; the walk must end well within
// one call per byte.
std::size_t walkLength()
{
    std::size_t steps = 0;
    uint16_t handle = 0xFFFF;
    const auto limit = static_cast<std::size_t>(gSMTableLength) + 1;
    uint8_t* structure = nullptr;
    uint16_t length = 0;
    while (steps <= limit &&
           SmbiosGetStructure(&handle, &structure, &length) == QVM_RC_SUCCESS)
    {
        ++steps;
        if (handle == 0xFFFF)
            break;
    }
    EXPECT_LE(steps, limit) << "walk by handles does not end";
    return steps;
}

uint16_t selectedCount(uint8_t type)
{
    uint16_t count = 0;
    SmbiosGetStructureOfType(type, nullptr, nullptr, &count);
    return count;
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
        EXPECT_EQ(walkLength(), complete);
        std::size_t selected = 0;
        for (int type = 0; type < 256; ++type)
            selected += selectedCount(static_cast<uint8_t>(type));
        EXPECT_EQ(selected, complete);
    }
}

// Arguments the calls refuse, and string slots outside the table.
TEST(SmbiosArguments, RefusedWithoutTouchingTheOutputs)
{
    LoadedTable loaded(sampleTable());
    uint16_t handle = 0;
    uint16_t length = 0;
    EXPECT_EQ(SmbiosGetStructure(&handle, nullptr, &length),
              QVM_RC_INVALID_REQUEST);
    uint16_t count = 0;
    uint8_t** structures = nullptr;
    uint16_t* lengths = nullptr;
    EXPECT_EQ(SmbiosGetStructureOfType(0, nullptr, nullptr, &count),
              QVM_RC_SUCCESS);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(SmbiosGetStructureOfType(0, &structures, nullptr, &count),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmbiosGetStructureOfType(0, nullptr, &lengths, &count),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmbiosGetStructureOfType(0, &structures, &lengths, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(structures, nullptr);
    EXPECT_EQ(lengths, nullptr);
    EXPECT_EQ(GetSystemDetails("SMBIOSServiceTagString", nullptr),
              QVM_RC_INVALID_REQUEST);
    uint8_t outside[] = {1, 4, 0, 0, 'x', 0, 0};
    uint8_t* slot = outside;
    EXPECT_EQ(SmbiosGetString(&slot, 1), nullptr);
    EXPECT_EQ(slot, outside);
    EXPECT_EQ(qvmSmbiosAddStructure(&slot, 6, "/dev/null"),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(qvmSmbiosAddStructure(nullptr, 4, "/dev/null"),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmBiosDataToJSON(nullptr), QVM_RC_INVALID_REQUEST);
}
