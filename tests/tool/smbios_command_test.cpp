// qvm smbios ... against the bundled sample table and small tables of the
// tests' own.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/sample_table.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
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
    fs::path path;
};

} // namespace

// The list walks the table in its own order and names every structure that
// the generator put there, with its whole size; the map lists each entry as
// a lookup of its handle prints it.
TEST(SmbiosCommand, ListAndMapCoverTheWholeSample)
{
    const tablegen::Bytes bytes = tablegen::sampleTable().build();
    const Result r = onSample("smbios list");
    ASSERT_EQ(r.status, 0) << r.err;
    std::size_t offset = 0;
    for (const std::string& line : lines(r.out))
    {
        ASSERT_LT(offset, bytes.size()) << line;
        unsigned handle = 0, type = 0, size = 0;
        ASSERT_EQ(std::sscanf(line.c_str(), "0x%4x %u %*[^0-9] %u", &handle,
                              &type, &size),
                  3)
            << line;
        EXPECT_EQ(type, bytes[offset]) << line;
        EXPECT_EQ(handle, bytes[offset + 2] | bytes[offset + 3] << 8u) << line;
        offset += size;
    }
    EXPECT_EQ(offset, bytes.size());
    EXPECT_THAT(r.out, StartsWith("0x0000   0  BIOS Information "));
    // A controller, two legacy modules, one array and 16 devices.
    EXPECT_EQ(lines(onSample("smbios list --type memory").out).size(), 20U);

    const auto map = lines(onSample("smbios fqdd").out);
    ASSERT_EQ(map.size(), 29U);
    EXPECT_EQ(onSample("smbios fqdd " + map.back().substr(0, 6)).out,
              map.back() + "\n");
}

// A raw table, a dump with the entry point at 0 and the table at 0x20, and
// an entry point saved together with its table all read the same; info
// tells them apart.
TEST(SmbiosCommand, TableFilesAreReadRawOrBehindAnEntryPoint)
{
    const Folder folder;
    const std::string dump = folder / "dump.bin";
    ASSERT_EQ(onSample("smbios dump-bin " + dump), (Result{0, "", ""}));
    // The table address is physical, as the kernel's smbios_entry_point
    // and DMI files give it one after the other.
    const tablegen::Bytes sample = tablegen::sampleTable().build();
    const TempFile saved(qvmtest::tool::behind32BitEntryPoint(
        sample, 0x000F0000, sample.size()));
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
    // A dump of a table read behind an entry point keeps that entry point.
    const std::string again = folder / "again.bin";
    ASSERT_EQ(
        runQvm({"smbios", "dump-bin", again, "--table", saved.path()}).status,
        0);
    EXPECT_EQ(entryPoint(again),
              "entry point:  SMBIOS 2.8.0, 32-bit entry point (_SM_); the "
              "table at offset 0x20");
}

// The export is checked before it replaces anything: a symbolic link at
// the destination is replaced, a cut export leaves the destination alone,
// and the table itself is never the output.
TEST(SmbiosCommand, ExportIsWrittenWholeOrNotAtAll)
{
    const std::string printed = onSample("smbios export").out;
    const Folder folder;
    const std::string target = folder / "target";
    const std::string link = folder / "out.json";
    std::ofstream(target) << "keep";
    fs::create_symlink(target, link);
    EXPECT_EQ(onSample("smbios export --output " + link), (Result{0, "", ""}));
    EXPECT_EQ(fileText(link) + "\n", printed);
    EXPECT_FALSE(fs::is_symlink(link));

    // A file-size limit cuts the export short: the destination keeps its
    // old content and nothing else is left behind.
    const Result limited = qvmtest::tool::run(
        "/bin/sh",
        {"-c", "ulimit -f 8 && exec \"$0\" \"$@\"", qvmtest::tool::kProgram,
         "smbios", "export", "--table", kSample, "--output", target});
    EXPECT_EQ(limited.status, 1);
    EXPECT_EQ(limited.err, "qvm: smbios export: cannot write " + target +
                               ": writing: File too large\n");
    EXPECT_EQ(fileText(target), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), {}), 2);

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
    EXPECT_EQ(
        qvmtest::tool::run(qvmtest::tool::kProgram, {"smbios", "service-tag"},
                           {"DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent"}),
        (Result{1, "",
                "qvm: smbios service-tag: cannot read this machine's SMBIOS "
                "table /sys/firmware/dmi/tables/DMI: No such file or "
                "directory\nqvm: give a table with --table FILE, or --table "
                "sample for the bundled sample table\n"}));
}
