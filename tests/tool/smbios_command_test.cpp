// qvm smbios ... against the bundled sample table and small tables of the
// tests' own.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "support/transcript.hpp"
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

namespace
{

namespace fs = std::filesystem;

Result onSample(const std::string& line)
{
    return runQvm(words(line + " --table " + kSample));
}

} // namespace

// The export is checked before it replaces anything: a symbolic link at
// the destination is replaced, and a cut export leaves the destination
// alone.
TEST(SmbiosCommand, ExportIsWrittenWholeOrNotAtAll)
{
    const std::string printed = onSample("smbios export").out;
    const qvmtest::tool::ScratchFolder folder("qvm-out");
    const std::string target = folder / "target";
    const std::string link = folder / "out.json";
    std::ofstream(target) << "keep";
    fs::create_symlink(target, link);
    EXPECT_EQ(onSample("smbios export --output " + link), (Result{0, "", ""}));
    EXPECT_EQ(qvmtest::transcript::readText(link) + "\n", printed);
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
    EXPECT_EQ(qvmtest::transcript::readText(target), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), {}), 2);
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

// Loading libsystemd or json-c costs each start more than a small export
// takes: commands that need neither leave both unloaded.
TEST(SmbiosCommand, LibrariesLoadOnlyForTheCommandsThatCallThem)
{
    const auto loaded = [](const std::vector<std::string>& args)
    {
        const std::string log = qvmtest::tool::run(qvmtest::tool::kProgram,
                                                   args, {"LD_DEBUG=files"})
                                    .err;
        return std::string(log.find("libsystemd") != log.npos ? "S" : "") +
               (log.find("libjson-c") != log.npos ? "J" : "");
    };
    for (const std::string line : {"smbios export", "smbios show 0x0200",
                                   "smbios info", "smbios service-tag"})
        EXPECT_EQ(loaded(words(line + " --table " + kSample)), "") << line;
    EXPECT_EQ(
        loaded(words(std::string("smbios check --json --table ") + kSample)),
        "J");
    EXPECT_EQ(loaded({"--bus", "unix:path=/nonexistent", "manager", "version"}),
              "S");
}
