// qvm smbios ... against the bundled sample table and small tables of the
// tests' own.
#include "common/handles.hpp"
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/sample_table.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <set>
#include <sstream>
#include <unistd.h>

using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using qvmtest::TempFile;
using qvmtest::tool::kSample;
using qvmtest::tool::Result;
using qvmtest::tool::runQvm;
using qvmtest::tool::words;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace
{

namespace fs = std::filesystem;

Result onSample(const std::string& line)
{
    return runQvm(words(line + " --table " + kSample));
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

// A folder of the test's own for output files, removed at its end.
struct Folder
{
    Folder()
        : path(fs::path(testing::TempDir()) /
               ("qvm-out-" + std::to_string(getpid())))
    {
        fs::create_directories(path);
    }
    ~Folder() { fs::remove_all(path); }
    std::string operator/(const std::string& name) const
    {
        return (path / name).string();
    }
    std::size_t entries() const
    {
        return static_cast<std::size_t>(std::distance(
            fs::directory_iterator(path), fs::directory_iterator()));
    }
    fs::path path;
};

// The sample behind a 32-bit entry point whose table address is physical,
// as the kernel's smbios_entry_point and DMI files give it one after the
// other.
tablegen::Bytes behind32BitEntryPoint(const tablegen::Bytes& table)
{
    tablegen::Bytes ep(0x1F, 0);
    const std::string anchors[] = {"_SM_", "_DMI_"};
    std::copy(anchors[0].begin(), anchors[0].end(), ep.begin());
    std::copy(anchors[1].begin(), anchors[1].end(), ep.begin() + 0x10);
    ep[5] = 0x1F;
    ep[6] = 2;
    ep[7] = 8;
    ep[0x16] = static_cast<uint8_t>(table.size());
    ep[0x17] = static_cast<uint8_t>(table.size() >> 8);
    ep[0x1A] = 0x0F; // 0x000F0000, nowhere in the file
    ep.insert(ep.end(), table.begin(), table.end());
    return ep;
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

    const Result memory = onSample("smbios list --type memory");
    // A controller, two legacy modules, one array and 16 devices.
    EXPECT_EQ(lines(memory.out).size(), 20U);
    EXPECT_THAT(memory.out, Not(HasSubstr("Processor")));
}

// The name is the first OEM string without its "9" marker; a lookup in the
// map prints the entry with its descriptor string; dmidecode's keywords
// answer from the decoded objects.
TEST(SmbiosCommand, QueriesAnswerFromTheSample)
{
    const std::string notFound = ": Needed component not found (6)\n";
    const qvmtest::tool::Case cases[] = {
        {"smbios service-tag", 0, "QS22C0417\n"},
        {"smbios system-name", 0, "QS2200-LAB-07\n"},
        {"smbios bios", 0,
         "BIOS version:  3.2.7\nBIOS release:  3.2\n"
         "Product name:  QS-2200\nSerial number: QS22C0417\n"},
        {"smbios get system-serial-number", 0, "QS22C0417\n"},
        {"smbios get bios-revision", 0, "3.2\n"},
        {"smbios get baseboard-product-name", 0, "QS-MB2200\n"},
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

// A view by type prints, for each structure, what a view by its handle
// prints: the library's own object.
TEST(SmbiosCommand, ShowPrintsTheDecodedObjectsByHandleOrType)
{
    const std::string system = onSample("smbios show 0x0100").out;
    EXPECT_THAT(system, StartsWith("{\n  \"Table Type\": 1,\n"));
    EXPECT_THAT(system, HasSubstr("\n  \"SerialNumber\": \"QS22C0417\",\n"));
    const std::string log = onSample("smbios show 3840").out;
    EXPECT_THAT(log, HasSubstr("\n  \"Structure handle\": 4354\n"));

    EXPECT_EQ(onSample("smbios show --type 1"), (Result{0, system, ""}));
    const Result bios = onSample("smbios show --type bios");
    EXPECT_EQ(bios.out, onSample("smbios show 0").out +
                            onSample("smbios show --type 13").out);
    EXPECT_EQ(onSample("smbios show --type 200"),
              (Result{0, "",
                      "qvm: smbios show: no structure of type 200 in the "
                      "table\n"}));
}

// Export, show and get name each structure that the library cannot
// convert, and the values that a structure does not hold.
TEST(SmbiosCommand, WhatTheLibraryLeavesOutIsNamedWithItsReason)
{
    const TempFile table(
        TableBuilder()
            .add(StructureBuilder(0, 0x12, 0)
                     .string(4, "Vendor")
                     .string(5, "1.0"))
            // One log descriptor, and an access method other than memory.
            .add(StructureBuilder(15, 25, 0x0F00).u8(10, 4).u8(21, 1))
            .add(StructureBuilder(127, 4, 0x7F00))
            .build());
    const std::string leftOut =
        "qvm: structure 0x0F00 (type 15, System Event Log) is left out: the "
        "library cannot convert it: Operation failed (-1)\n";
    const auto on = [&](const std::string& line)
    { return runQvm(words(line + " --table " + table.path())); };

    const Result exported = on("smbios export");
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.err, leftOut);
    EXPECT_THAT(exported.out, Not(HasSubstr("\"Table Type\": 15")));
    EXPECT_EQ(on("smbios export --strict"),
              (Result{1, exported.out, exported.err}));
    EXPECT_EQ(on("smbios show --type system --strict").err, leftOut);
    EXPECT_EQ(on("smbios show 0x0F00"),
              (Result{1, "",
                      "qvm: smbios show 0x0F00: the library cannot convert "
                      "structure 0x0F00 (type 15, System Event Log): "
                      "Operation failed (-1)\n"}));

    // The type-0 structure ends at byte 18, before the release bytes.
    EXPECT_THAT(on("smbios bios").out,
                HasSubstr("BIOS release:  (not held: structure 0x0000 (type "
                          "0, BIOS Information) is 18 bytes long; the release "
                          "lies at bytes 20 and 21)\n"));
    EXPECT_EQ(on("smbios get bios-revision"),
              (Result{1, "",
                      "qvm: smbios get bios-revision: structure 0x0000 (type "
                      "0, BIOS Information): the structure does not hold "
                      "it\n"}));
}

// Handles need not be unique, nor differ from the end mark 0xFFFF: the
// export and its check still meet every structure, in table order.
TEST(SmbiosCommand, ExportHoldsEveryStructureWhateverTheirHandles)
{
    const TempFile table(TableBuilder()
                             .add(StructureBuilder(1, 0x08, 0x0100))
                             .add(StructureBuilder(2, 0x08, 0xFFFF))
                             .add(StructureBuilder(2, 0x08, 0x0100))
                             .add(StructureBuilder(127, 4, 0x7F00))
                             .build());
    const Result exported =
        runQvm({"smbios", "export", "--table", table.path()});
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.err, "");
    std::vector<long> handles;
    const std::string key = "\"Handle\": ";
    for (auto at = exported.out.find(key); at != std::string::npos;
         at = exported.out.find(key, at + 1))
        handles.push_back(std::stol(exported.out.substr(at + key.size())));
    // Grouped by type: 1, then both of type 2, then 127.
    EXPECT_THAT(handles, testing::ElementsAre(0x0100, 0xFFFF, 0x0100, 0x7F00));
}

// A raw table, a dump with the entry point at 0 and the table at 0x20, and
// an entry point saved together with its table all read the same; info
// tells them apart.
TEST(SmbiosCommand, TableFilesAreReadRawOrBehindAnEntryPoint)
{
    const Folder folder;
    const std::string dump = folder / "dump.bin";
    ASSERT_EQ(onSample("smbios dump-bin " + dump), (Result{0, "", ""}));
    const TempFile saved(
        behind32BitEntryPoint(tablegen::sampleTable().build()));
    const std::string exported = onSample("smbios export").out;
    for (const std::string& file : {dump, saved.path()})
        EXPECT_EQ(runQvm({"smbios", "export", "--from-dump", file}).out,
                  exported)
            << file;

    const auto entryPoint = [](const std::string& file) {
        return lines(runQvm({"smbios", "info", "--table", file}).out).at(1);
    };
    EXPECT_EQ(entryPoint(kSample),
              "entry point:  none (a raw structure table)");
    EXPECT_EQ(entryPoint(dump),
              "entry point:  SMBIOS 3.0.0, 64-bit entry point (_SM3_); the "
              "table at offset 0x20");
    EXPECT_EQ(entryPoint(saved.path()),
              "entry point:  SMBIOS 2.8.0, 32-bit entry point (_SM_); the "
              "table at offset 0x1F");
    // A dump of a table read behind an entry point keeps that entry point.
    const std::string again = folder / "again.bin";
    ASSERT_EQ(
        runQvm({"smbios", "dump-bin", again, "--table", saved.path()}).status,
        0);
    EXPECT_EQ(entryPoint(again),
              "entry point:  SMBIOS 2.8.0, 32-bit entry point (_SM_); the "
              "table at offset 0x20");
}

// dmidecode reads the dump as qvm read the table: the same structures, and
// the same answer to a keyword.
TEST(SmbiosCommand, DmidecodeReadsTheDump)
{
    const Result probe =
        qvmtest::tool::run("/bin/sh", {"-c", "command -v dmidecode"});
    if (probe.status != 0)
        GTEST_SKIP() << "dmidecode is not installed: the dump round trip is "
                        "not checked";
    const Folder folder;
    const std::string dump = folder / "dump.bin";
    ASSERT_EQ(onSample("smbios dump-bin " + dump).status, 0);
    const std::string dmidecode = lines(probe.out).at(0);
    const Result decoded = qvmtest::tool::run(dmidecode, {"--from-dump", dump});
    ASSERT_EQ(decoded.status, 0) << decoded.err;
    // "Handle 0x0000, DMI type 0, 26 bytes" against "0x0000   0  BIOS ..."
    std::vector<std::string> handles, listed;
    for (const std::string& line : lines(decoded.out))
        if (line.rfind("Handle ", 0) == 0)
            handles.push_back(line.substr(7, line.rfind(',') - 7));
    for (const std::string& line : lines(onSample("smbios list").out))
        listed.push_back(line.substr(0, 6) + ", DMI type " +
                         std::to_string(std::stoi(line.substr(7, 3))));
    EXPECT_EQ(handles, listed);
    EXPECT_EQ(qvmtest::tool::run(dmidecode, {"--from-dump", dump, "-s",
                                             "system-serial-number"})
                  .out,
              onSample("smbios get system-serial-number").out);
}

// The export is checked before it replaces anything: a symbolic link at
// the destination is replaced, a cut export leaves the destination alone,
// and the table itself is never the output.
TEST(SmbiosCommand, ExportIsWrittenWholeOrNotAtAll)
{
    const Result printed = onSample("smbios export");
    ASSERT_EQ(printed.status, 0) << printed.err;
    // One group for each type the listing shows.
    std::set<unsigned> types;
    for (const std::string& line : lines(onSample("smbios list").out))
    {
        unsigned type = 0;
        if (std::sscanf(line.c_str(), "0x%*x %u", &type) == 1)
            types.insert(type);
    }
    const qvm::JsonPtr groups(json_tokener_parse(printed.out.c_str()));
    EXPECT_EQ(json_object_array_length(groups.get()), types.size());

    const Folder folder;
    const std::string target = folder / "target";
    const std::string link = folder / "out.json";
    std::ofstream(target) << "keep";
    fs::create_symlink(target, link);
    EXPECT_EQ(onSample("smbios export --output " + link), (Result{0, "", ""}));
    EXPECT_EQ(fileText(link) + "\n", printed.out);
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(fileText(target), "keep");

    // A file-size limit cuts the library's file short; it still says
    // success, the tool does not.
    const Result limited = qvmtest::tool::run(
        "/bin/sh",
        {"-c", "ulimit -f 8 && exec \"$0\" \"$@\"", qvmtest::tool::kProgram,
         "smbios", "export", "--table", kSample, "--output", target});
    EXPECT_EQ(limited.status, 1);
    EXPECT_THAT(limited.err, HasSubstr("qvm: smbios export: the export came "
                                       "out cut short after "));
    EXPECT_THAT(limited.err, HasSubstr("(the file-size limit of "));
    EXPECT_EQ(fileText(target), "keep");
    EXPECT_EQ(folder.entries(), 2U); // nothing left behind

    const Result full =
        qvmtest::tool::run("/bin/sh", {"-c", "exec \"$0\" \"$@\" >/dev/full",
                                       qvmtest::tool::kProgram, "smbios",
                                       "export", "--table", kSample});
    EXPECT_EQ(full, (Result{1, "",
                            "qvm: smbios export: cannot write standard "
                            "output: No space left on device\n"}));

    const std::string copy = folder / "table.bin";
    fs::copy_file(kSample, copy);
    EXPECT_EQ(
        runQvm({"smbios", "export", "--table", copy, "--output", copy}).status,
        2);
    EXPECT_EQ(fileText(copy), fileText(kSample));
}

// Without --table nothing falls back to the sample silently.
TEST(SmbiosCommand, WithoutATableTheMachineTableOrAClearRefusal)
{
    if (access("/sys/firmware/dmi/tables/DMI", R_OK) == 0)
        GTEST_SKIP() << "this machine's own table is readable";
    const Result r = runQvm(
        {"--bus", "unix:path=/nonexistent/bus", "smbios", "service-tag"});
    EXPECT_EQ(r, (Result{1, "",
                         "qvm: smbios service-tag: cannot read this machine's "
                         "SMBIOS table /sys/firmware/dmi/tables/DMI: No such "
                         "file or directory\n"
                         "qvm: give a table with --table FILE, or --table "
                         "sample for the bundled sample table\n"}));
    EXPECT_EQ(runQvm({"smbios", "service-tag", "--table", "sample"}).out,
              "QS22C0417\n");
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
