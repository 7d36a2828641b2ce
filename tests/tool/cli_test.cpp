// The command line itself: help, usage errors and exit codes, and where qvm
// finds the sample table.
#include "run_tool.hpp"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using qvmtest::tool::Result;
using qvmtest::tool::runQvm;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

namespace
{

namespace fs = std::filesystem;

const std::vector<std::vector<std::string>> kCommands = {
    {"version"},
    {"smbios", "export"},
    {"smbios", "list"},
    {"smbios", "show"},
    {"smbios", "service-tag"},
    {"smbios", "system-name"},
    {"smbios", "bios"},
    {"smbios", "fqdd"},
    {"manager", "version"},
    {"manager", "package"},
    {"manager", "save"},
    {"manager", "collect"},
    {"manager", "export"},
    {"manager", "ticket"},
    {"manager", "watch"},
    {"ticket", "check"},
    {"event", "add"},
    {"inventory"},
    {"inventory", "get"},
};

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const auto& w : words)
        text += (text.empty() ? "" : " ") + w;
    return text;
}

} // namespace

TEST(Cli, HelpListsEveryCommandAndEachCommandHasItsOwn)
{
    const Result help = runQvm({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("Usage: qvm [--bus ADDRESS] COMMAND"));
    for (auto words : kCommands)
    {
        EXPECT_THAT(help.out, HasSubstr("  " + joined(words) + " "));
        words.push_back("--help");
        const Result own = runQvm(words);
        EXPECT_EQ(own.status, 0) << joined(words);
        words.pop_back();
        EXPECT_THAT(own.out, StartsWith("Usage: qvm " + joined(words)));
    }
    const Result group = runQvm({"manager", "--help"});
    EXPECT_EQ(group.status, 0);
    EXPECT_THAT(group.out, HasSubstr("manager watch"));
    EXPECT_THAT(group.out, Not(HasSubstr("smbios")));
}

TEST(Cli, WrongUsageExitsWithTwoAndSaysWhy)
{
    struct Case
    {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{}, "Usage: qvm"},
        {{"frobnicate"}, "qvm: unknown command 'frobnicate'"},
        {{"smbios"}, "Commands of qvm smbios:"},
        {{"smbios", "frobnicate"}, "qvm: unknown command 'smbios frobnicate'"},
        {{"smbios", "list", "--colour"},
         "qvm: smbios list: unknown option --colour\n"},
        {{"smbios", "list", "--type"},
         "qvm: smbios list: --type needs a value\n"},
        {{"smbios", "list", "--type", "256"},
         "qvm: --type takes a number up to 255, not '256'\n"},
        {{"smbios", "show"},
         "qvm: smbios show: wrong arguments; usage: qvm smbios show HANDLE "
         "[--table FILE]\n"},
        {{"smbios", "fqdd", "1", "2"}, "smbios fqdd: wrong arguments"},
        {{"manager", "package", "--number1", "65536"},
         "qvm: --number1 takes a number up to 65535, not '65536'\n"},
        {{"manager", "save", "--text1", std::string(98, 'x')},
         "qvm: --text1 holds at most 97 characters\n"},
        {{"ticket", "check"}, "ticket check: wrong arguments"},
    };
    for (const Case& c : cases)
    {
        const Result r = runQvm(c.args);
        EXPECT_EQ(r.status, 2) << joined(c.args);
        EXPECT_EQ(r.out, "") << joined(c.args);
        EXPECT_THAT(r.err, HasSubstr(c.error)) << joined(c.args);
    }
}

TEST(Cli, OptionsTakeEitherSpellingAndDoubleDashEndsThem)
{
    const std::string table = qvmtest::tool::sampleTable();
    EXPECT_EQ(runQvm({"smbios", "service-tag", "--table=" + table}).out,
              "QS22C0417\n");
    // After "--" a word that looks like an option is an argument.
    const Result r =
        runQvm({"ticket", "check", "--", "--x_y_" + std::string(32, 'z')});
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST(Cli, VersionAndTicketCheckNeedNoBus)
{
    EXPECT_EQ(runQvm({"version"}).out, "1.01.00.00\n");
    const Result valid =
        runQvm({"ticket", "check", "ABC_DEFGHIJ_" + std::string(32, 'k')});
    EXPECT_EQ(valid.status, 0);
    EXPECT_EQ(valid.out, "valid\n");
    const Result invalid = runQvm({"ticket", "check", "ABC_DEFGHIJ_short"});
    EXPECT_EQ(invalid.status, 1);
    EXPECT_EQ(invalid.out, "");
    EXPECT_EQ(invalid.err, "qvm: ticket check: Invalid Ticket supplied (1)\n");
}

// An installation keeps the sample under share/qvmclient beside bin/; a
// program without one has no table to fall back on.
TEST(Cli, FindsTheSampleTableOfAnInstallation)
{
    if (access("/sys/firmware/dmi/tables/DMI", R_OK) == 0)
        GTEST_SKIP() << "this machine's own table is readable";
    const fs::path prefix = fs::path(testing::TempDir()) /
                            ("qvm-prefix-" + std::to_string(getpid()));
    fs::create_directories(prefix / QVM_BINDIR_FROM_PREFIX);
    fs::copy_file(qvmtest::tool::qvmProgram(),
                  prefix / QVM_BINDIR_FROM_PREFIX / "qvm");
    const std::string program =
        (prefix / QVM_BINDIR_FROM_PREFIX / "qvm").string();
    const std::vector<std::string> env{std::string("LD_LIBRARY_PATH=") +
                                       QVM_LIBRARY_DIR};

    if (!fs::exists(fs::path(QVM_INSTALLED_SAMPLE)))
    {
        const Result none =
            qvmtest::tool::run(program, {"smbios", "service-tag"}, env);
        EXPECT_EQ(none.status, 1);
        EXPECT_THAT(none.err, HasSubstr("qvm: no SMBIOS table: "));
        EXPECT_THAT(none.err, HasSubstr("Needed component not found (6)"));
    }

    fs::create_directories(prefix / QVM_DATADIR_FROM_PREFIX / "qvmclient");
    fs::copy_file(qvmtest::tool::sampleTable(),
                  prefix / QVM_DATADIR_FROM_PREFIX / "qvmclient" /
                      "sample-table.bin");
    const Result found =
        qvmtest::tool::run(program, {"smbios", "service-tag"}, env);
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.out, "QS22C0417\n");
    fs::remove_all(prefix);
}
