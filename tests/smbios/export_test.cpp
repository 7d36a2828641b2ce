// The JSON export of a whole table: separators, group order, appending,
// header-only types, the early end of a structure, and a reviewed golden
// file (which also pins the mapped types' field strings and the generic
// dump of an unmapped type).
#include "qvmclient.h"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/sample_table.hpp"

#include <cstdio>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <json-c/json.h>
#include <sstream>
#include <string>
#include <unistd.h>

using qvmtest::LoadedTable;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

namespace
{

// A scratch output path, absent before use and removed after it.
struct OutputFile
{
    std::string path = testing::TempDir() + "qvm-export-" +
                       std::to_string(getpid()) + "-" +
                       std::to_string(counter++) + ".json";
    static inline int counter = 0;

    OutputFile() { std::remove(path.c_str()); }
    ~OutputFile() { std::remove(path.c_str()); }
    std::string text() const
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
};

StructureBuilder biosStructure()
{
    return StructureBuilder(0, 0x18, 0x0000)
        .string(4, "Quorvane")
        .string(5, "2.8.1")
        .u16(6, 0xF000)
        .string(8, "03/14/2026")
        .u64(10, 0x08)
        .u8(20, 3)
        .u8(21, 2);
}

// Exports table and compares the text byte for byte with a reviewed file
// under golden/.
void expectGoldenExport(const TableBuilder& table, const std::string& name)
{
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    OutputFile out;
    ASSERT_EQ(SmBiosDataToJSON(out.path.c_str()), QVM_RC_SUCCESS);
    qvmtest::expectGolden(std::string(QVM_TEST_SOURCE_DIR) + "/golden/" + name,
                          out.text());
}

// The text qvmSmbiosAddStructure appends for the structure at offset.
std::string objectAt(const LoadedTable& table, std::size_t offset,
                     std::size_t size)
{
    OutputFile out;
    std::uint8_t* structure = table.at(offset);
    EXPECT_EQ(qvmSmbiosAddStructure(&structure,
                                    static_cast<std::uint32_t>(size),
                                    out.path.c_str()),
              QVM_RC_SUCCESS);
    return out.text();
}

bool isJson(const std::string& text)
{
    json_object* parsed = json_tokener_parse(text.c_str());
    json_object_put(parsed);
    return parsed != nullptr;
}

} // namespace

TEST(Export, GroupsByTypeInAscendingOrderWithExactSeparators)
{
    const auto table = TableBuilder()
                           .add(StructureBuilder(4, 0x10, 0x0400))
                           .add(biosStructure())
                           .add(StructureBuilder(4, 0x10, 0x0401))
                           .add(StructureBuilder(127, 4, 0xFEFF));
    LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    const auto size = [&](std::size_t i)
    { return table.offsetOf(i + 1) - table.offsetOf(i); };
    const std::string expected =
        "[[" + objectAt(loaded, table.offsetOf(1), size(1)) + "],[" +
        objectAt(loaded, table.offsetOf(0), size(0)) + "," +
        objectAt(loaded, table.offsetOf(2), size(2)) + "],[" +
        objectAt(loaded, table.offsetOf(3), table.size() - table.offsetOf(3)) +
        "]]";
    OutputFile out;
    EXPECT_EQ(SmBiosDataToJSON(out.path.c_str()), QVM_RC_SUCCESS);
    EXPECT_EQ(out.text(), expected);
    EXPECT_TRUE(isJson(out.text()));
}

TEST(Export, NoTableGivesAnEmptyArrayAndOutputIsAppended)
{
    OutputFile empty;
    EXPECT_EQ(SmBiosDataToJSON(empty.path.c_str()), QVM_RC_SUCCESS);
    EXPECT_EQ(empty.text(), "[]");
    LoadedTable loaded(TableBuilder().add(biosStructure()));
    OutputFile once;
    SmBiosDataToJSON(once.path.c_str());
    OutputFile twice;
    SmBiosDataToJSON(twice.path.c_str());
    SmBiosDataToJSON(twice.path.c_str());
    EXPECT_EQ(twice.text(), once.text() + once.text());
}

// A type-15 structure with one descriptor and an access method other than
// 32-bit memory ends its conversion early: nothing of it is written.
TEST(Export, RefusedAndFailedStructuresWriteNothing)
{
    const auto dropped = StructureBuilder(15, 25, 0x0F00).u8(10, 4).u8(21, 1);
    LoadedTable loaded(TableBuilder().add(dropped));
    OutputFile single;
    std::uint8_t* structure = loaded.at(0);
    EXPECT_EQ(qvmSmbiosAddStructure(&structure, 27, single.path.c_str()),
              QVM_RC_FAILED);
    EXPECT_EQ(single.text(), "");

    EXPECT_EQ(qvmSmbiosAddStructure(nullptr, 4, "/dev/null"),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(SmBiosDataToJSON(nullptr), QVM_RC_INVALID_REQUEST);
    std::uint8_t outside[8] = {200, 4, 0, 0, 0, 0};
    structure = outside;
    EXPECT_EQ(qvmSmbiosAddStructure(&structure, 6, "/dev/null"),
              QVM_RC_INVALID_REQUEST);
}

// A short chassis whose repeated "Item" key keeps its first place with its
// last value; host bytes that are not UTF-8 (replaced, the text stays valid);
// an inactive structure (its header only); event logs whose conversion ends
// early (left out, the separators still right); the generic dump of an
// unmapped OEM type. The BIOS structure gives version 3.2.
TEST(Export, MatchesTheReviewedGoldenFile)
{
    const auto dropped = StructureBuilder(15, 25, 0x0F00).u8(10, 4).u8(21, 1);
    const auto table = TableBuilder()
                           .add(biosStructure().u8(18, 0x03).u8(19, 0x0D))
                           .add(StructureBuilder(3, 0x16, 0x0300)
                                    .string(4, "Quorvane")
                                    .u8(5, 0x97)
                                    .string(7, "7XK2Q93")
                                    .bytes(9, {3, 3, 3, 3})
                                    .bytes(17, {2, 2})
                                    .u8(20, 3)
                                    .string(21, "SKU=NotProvided"))
                           .add(StructureBuilder(1, 8, 0x0100)
                                    .string(4, "\xFF\xFE\x80")
                                    .string("ok"))
                           .add(StructureBuilder(126, 6, 0x7E00).u16(4, 0xFFFF))
                           .add(dropped)
                           .add(StructureBuilder(15, 23, 0x0F01).u8(10, 4))
                           .add(dropped)
                           .add(StructureBuilder(200, 8, 0xC800)
                                    .u32(4, 0xDEADBEEF)
                                    .string("oem"))
                           .add(StructureBuilder(127, 4, 0xFEFF));
    expectGoldenExport(table, "representative.json");
}

// The bundled sample table holds every structure type a two-socket server
// has; its export pins the decoded form of each.
TEST(Export, SampleTableMatchesItsGoldenFile)
{
    expectGoldenExport(tablegen::sampleTable(), "sample.json");
}
