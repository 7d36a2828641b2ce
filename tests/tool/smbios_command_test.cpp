// qvm smbios ... against the bundled sample table and small tables of the
// tests' own.
#include "common/handles.hpp"
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/sample_table.hpp"

#include <cstdio>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <sstream>
#include <unistd.h>

using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using qvmtest::TempFile;
using qvmtest::tool::kSample;
using qvmtest::tool::Result;
using qvmtest::tool::runQvm;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace
{

Result onSample(const std::string& line)
{
    return runQvm(qvmtest::tool::words(line + " --table " + kSample));
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

// The list walks the table in its own order and names every structure that
// the generator put there, with its whole size.
TEST(SmbiosCommand, ListShowsEveryStructureOfTheSampleInTableOrder)
{
    const tablegen::Bytes bytes = tablegen::sampleTable().build();
    const Result r = onSample("smbios list");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto listed = lines(r.out);
    std::size_t offset = 0;
    for (const std::string& line : listed)
    {
        ASSERT_LT(offset, bytes.size()) << line;
        unsigned handle = 0, type = 0, size = 0;
        char name[64] = {};
        ASSERT_EQ(std::sscanf(line.c_str(), "0x%4x %u %63[^0-9] %u", &handle,
                              &type, name, &size),
                  4)
            << line;
        EXPECT_EQ(type, bytes[offset]) << line;
        EXPECT_EQ(handle, bytes[offset + 2] | bytes[offset + 3] << 8u) << line;
        offset += size;
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_THAT(listed.front(), StartsWith("0x0000   0  BIOS Information "));
    EXPECT_THAT(listed.back(), StartsWith("0x7F00 127  End-of-Table "));

    const Result memory = onSample("smbios list --type 17");
    EXPECT_EQ(lines(memory.out).size(), 16U);
    EXPECT_THAT(memory.out, Not(HasSubstr("Processor")));
}

// The name is the first OEM string without its "9" marker; a lookup in the
// map prints the entry with its descriptor string.
TEST(SmbiosCommand, QueriesAnswerFromTheSample)
{
    const std::string notFound = ": Needed component not found (6)\n";
    const qvmtest::tool::Case cases[] = {
        {"smbios service-tag", 0, "QS22C0417\n"},
        {"smbios system-name", 0, "QS2200-LAB-07\n"},
        {"smbios bios", 0,
         "BIOS version:  3.2.7\nBIOS release:  3.2\n"
         "Product name:  QS-2200\nSerial number: QS22C0417\n"},
        {"smbios fqdd 0x1102", 0, "0x1102 0 0x05 0x11 Board.Memory.C0\n"},
        {"smbios fqdd 11008", 0, "0x2B00 1 0x0B 0x2B Board.Tpm.1\n"},
        {"smbios fqdd 0x0000", 1, "", "qvm: smbios fqdd 0x0000" + notFound},
        {"smbios show 0x0042", 1, "", "qvm: smbios show 0x0042" + notFound},
    };
    qvmtest::tool::expectEach(cases, {"--table", kSample});
}

// The whole map prints each entry as a lookup of its handle does.
TEST(SmbiosCommand, FqddListsTheWholeMapOfTheSample)
{
    const Result all = onSample("smbios fqdd");
    ASSERT_EQ(all.status, 0) << all.err;
    const auto entries = lines(all.out);
    EXPECT_EQ(entries.size(), 29U);
    for (const std::string& entry : entries)
        EXPECT_EQ(onSample("smbios fqdd " + entry.substr(0, 6)).out,
                  entry + "\n");
}

TEST(SmbiosCommand, ExportGoesToStandardOutputOrAFreshFile)
{
    const Result printed = onSample("smbios export");
    ASSERT_EQ(printed.status, 0) << printed.err;
    // One group for each of the sample's 26 types.
    const qvm::JsonPtr groups(json_tokener_parse(printed.out.c_str()));
    EXPECT_EQ(json_object_array_length(groups.get()), 26U);

    // A file already there is replaced, not appended to.
    const TempFile out({'s', 't', 'a', 'l', 'e'});
    EXPECT_EQ(onSample("smbios export --output " + out.path()),
              (Result{0, "", ""}));
    EXPECT_EQ(fileText(out.path()) + "\n", printed.out);
}

TEST(SmbiosCommand, ExportWithoutTableReadsTheMachineTableOrTheSample)
{
    if (access("/sys/firmware/dmi/tables/DMI", R_OK) == 0)
        GTEST_SKIP() << "this machine's own table is readable";
    const Result byDefault = runQvm({"smbios", "export"});
    ASSERT_EQ(byDefault.status, 0) << byDefault.err;
    EXPECT_EQ(byDefault.out, onSample("smbios export").out);
}

// The event log of the sample lies where the library reads it: its last
// record, an ECC error, names DIMM C0.
TEST(SmbiosCommand, ShowPrintsOneStructureAsJson)
{
    const std::string system = onSample("smbios show 0x0100").out;
    EXPECT_THAT(system, StartsWith("{\n  \"Table Type\": 1,\n"));
    EXPECT_THAT(system, HasSubstr("\n  \"SerialNumber\": \"QS22C0417\",\n"));
    const std::string log = onSample("smbios show 3840").out;
    EXPECT_THAT(log, HasSubstr("\n  \"Log Header Format\": \"Type 1 log "
                               "header\",\n"));
    EXPECT_THAT(log, HasSubstr("\n  \"Structure handle\": 4354\n"));
}

// A table of the test's own: no OEM name, so the product name; no map.
TEST(SmbiosCommand, AnyTableFileCanBeRead)
{
    const TempFile table(TableBuilder()
                             .add(StructureBuilder(0, 0x18, 0)
                                      .string(4, "Vendor")
                                      .string(5, "1.0")
                                      .u8(20, 2)
                                      .u8(21, 8))
                             .add(StructureBuilder(1, 0x1B, 1)
                                      .string(5, "Product")
                                      .string(7, "SN1"))
                             .build());
    const qvmtest::tool::Case cases[] = {
        {"smbios system-name", 0, "Product\n"},
        {"smbios fqdd", 1, "",
         "qvm: smbios fqdd: Needed component not found (6)\n"},
    };
    qvmtest::tool::expectEach(cases, {"--table", table.path()});
}
