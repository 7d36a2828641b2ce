// The command line itself: help, usage errors and exit codes, and where qvm
// finds the sample table.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using qvmtest::tool::Result;
using qvmtest::tool::runQvm;
using qvmtest::tool::words;
using testing::HasSubstr;

namespace fs = std::filesystem;

// Each command's own help, and its place in the manual page and the
// completion, are checked against this help by tests/help.
TEST(Cli, HelpAndVersionSayWhatTheToolIs)
{
    const Result help = runQvm({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, HasSubstr("\nExit status: 0 success; 1 failure, its "
                                    "cause on standard error; 2 wrong "
                                    "usage.\n"));
    EXPECT_THAT(
        runQvm({"--version"}).out,
        testing::MatchesRegex("qvm [0-9.]+\nlibrary 1\\.01\\.00\\.00 "
                              "\\(built in, as in libqvmclient\\.so\\.1\\)\n"));
}

TEST(Cli, WrongUsageExitsWithTwoAndSaysWhy)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", "Usage: qvm"},
        {"smbios", "Commands of qvm smbios:"},
        {"smbios list --colour",
         "qvm: smbios list: The following argument was not expected: "
         "--colour\nRun 'qvm smbios list --help' for its arguments.\n"},
        {"smbios list --type 256",
         "qvm: smbios list: --type takes type numbers or dmidecode's type "
         "keywords (bios, system, baseboard, chassis, processor, memory, "
         "cache, connector, slot), comma-separated; may be repeated, not "
         "'256'\n"},
        {"smbios show 1 --type bios",
         "qvm: smbios show: give either a HANDLE or --type\n"},
        {"smbios get chassis-colour",
         "qvm: smbios get: unknown keyword 'chassis-colour'; it takes one of "
         "bios-vendor, "},
        {"smbios export --table t --from-bus",
         "qvm: smbios export: --table excludes --from-bus\n"},
        {"manager package --number1 65536",
         "qvm: manager package: --number1 takes a number up to 65535, not "
         "'65536'\n"},
        {"manager save --text1 " + std::string(98, 'x'),
         "qvm: manager save: --text1 holds at most 97 characters\n"},
        {"ticket check", "qvm: ticket check: TEXT is required\n"},
        {"smbios show 0xFFFF", "HANDLE takes a number up to 65534"},
        {"smbios show 12ab", "HANDLE takes a number up to 65534"},
        {"event add M 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17",
         "qvm: event add: at most 16 message arguments\n"},
    };
    for (const auto& [line, error] : cases)
    {
        const Result r = runQvm(words(line));
        EXPECT_EQ(r.status, 2) << line;
        EXPECT_EQ(r.out, "") << line;
        EXPECT_THAT(r.err, HasSubstr(error));
    }
}

// Whatever a command prints must reach standard output.
TEST(Cli, EveryCommandFailsWhenItsOutputCannotBeWritten)
{
    const std::string sample = qvmtest::tool::kSample;
    for (const std::string& line : std::vector<std::string>{
             "--help", "--version", "version", "smbios list --table " + sample,
             "smbios show --type 4 --table " + sample,
             "smbios info --table " + sample, "smbios bios --table " + sample,
             "smbios get bios-vendor --table " + sample,
             "smbios service-tag --table " + sample,
             "smbios fqdd --table " + sample})
    {
        std::vector<std::string> args{"-c", "exec \"$0\" \"$@\" >/dev/full",
                                      qvmtest::tool::kProgram};
        for (const std::string& word : qvmtest::tool::words(line))
            args.push_back(word);
        EXPECT_EQ(qvmtest::tool::run("/bin/sh", args),
                  (Result{1, "",
                          "qvm: cannot write standard output: No space left "
                          "on device\n"}))
            << line;
    }
}

// An installation keeps the sample under share/qvmclient beside bin/.
TEST(Cli, FindsTheSampleTableOfAnInstallation)
{
    const fs::path prefix = fs::path(testing::TempDir()) /
                            ("qvm-prefix-" + std::to_string(getpid()));
    const fs::path program = prefix / QVM_BINDIR_FROM_PREFIX / "qvm";
    const fs::path sample =
        prefix / QVM_DATADIR_FROM_PREFIX / "qvmclient" / "sample-table.bin";
    const auto serviceTag = [&]
    {
        return qvmtest::tool::run(
            program, {"smbios", "service-tag", "--table", "sample"},
            {std::string("LD_LIBRARY_PATH=") + QVM_LIBRARY_DIR});
    };
    fs::create_directories(program.parent_path());
    fs::copy_file(qvmtest::tool::kProgram, program);
    if (!fs::exists(fs::path(QVM_INSTALLED_SAMPLE)))
    {
        EXPECT_THAT(serviceTag().err,
                    HasSubstr("qvm: smbios service-tag: the bundled sample "
                              "table is missing (looked in "));
    }
    fs::create_directories(sample.parent_path());
    fs::copy_file(qvmtest::tool::kSample, sample);
    EXPECT_EQ(serviceTag(), (Result{0, "QS22C0417\n", ""}));
    fs::remove_all(prefix);
}
