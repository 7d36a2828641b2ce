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
using testing::Not;
using testing::StartsWith;

namespace
{

namespace fs = std::filesystem;

const std::string kCommands[] = {
    "version",         "smbios export",      "smbios list",
    "smbios show",     "smbios service-tag", "smbios system-name",
    "smbios bios",     "smbios fqdd",        "manager version",
    "manager package", "manager save",       "manager collect",
    "manager export",  "manager ticket",     "manager watch",
    "ticket check",    "event add",          "inventory",
    "inventory get"};

} // namespace

TEST(Cli, HelpListsEveryCommandAndEachCommandHasItsOwn)
{
    const Result help = runQvm({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("Usage: qvm [--bus ADDRESS] COMMAND"));
    for (const std::string& command : kCommands)
    {
        EXPECT_THAT(help.out, HasSubstr("  " + command + " "));
        const Result own = runQvm(words(command + " --help"));
        EXPECT_EQ(own.status, 0) << command;
        EXPECT_THAT(own.out, StartsWith("Usage: qvm " + command));
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
        {{"smbios", "show", "0xFFFF"}, "HANDLE takes a number up to 65534"},
        {{"smbios", "show", "12ab"}, "HANDLE takes a number up to 65534"},
        {{"smbios", "show", "-1"}, "HANDLE takes a number up to 65534"},
        {{"smbios", "show", ""}, "HANDLE takes a number up to 65534"},
    };
    for (const Case& c : cases)
    {
        const Result r = runQvm(c.args);
        EXPECT_EQ(r.status, 2) << c.error;
        EXPECT_EQ(r.out, "") << c.error;
        EXPECT_THAT(r.err, HasSubstr(c.error));
    }
}

TEST(Cli, CommandsWithoutBusAnswerOrSayWhyNot)
{
    const std::string sample = qvmtest::tool::kSample;
    const qvmtest::TempFile empty({});
    const std::string noTable = "qvm: cannot load the SMBIOS table ";
    const std::string notFound = ": Needed component not found (6)\n";
    const qvmtest::tool::Case cases[] = {
        {"version", 0, "1.01.00.00\n"},
        {"ticket check ABC_DEFGHIJ_" + std::string(32, 'k'), 0, "valid\n"},
        // After "--" a word that looks like an option is an argument.
        {"ticket check -- --x_y_" + std::string(32, 'z'), 0, "valid\n"},
        {"ticket check ABC_DEFGHIJ_short", 1, "",
         "qvm: ticket check: Invalid Ticket supplied (1)\n"},
        {"smbios service-tag --table=" + sample, 0, "QS22C0417\n"},
        {"smbios service-tag --table /nonexistent/table.bin", 1, "",
         noTable + "/nonexistent/table.bin" + notFound},
        {"smbios list --table " + empty.path(), 1, "",
         noTable + empty.path() + notFound},
        {"smbios export --output /nonexistent/out.json --table " + sample, 1,
         "",
         "qvm: cannot write /nonexistent/out.json: No such file or "
         "directory\n"},
    };
    qvmtest::tool::expectEach(cases);
}

// An installation keeps the sample under share/qvmclient beside bin/; a
// program without one has no table to fall back on.
TEST(Cli, FindsTheSampleTableOfAnInstallation)
{
    if (access("/sys/firmware/dmi/tables/DMI", R_OK) == 0)
        GTEST_SKIP() << "this machine's own table is readable";
    const fs::path prefix = fs::path(testing::TempDir()) /
                            ("qvm-prefix-" + std::to_string(getpid()));
    const fs::path program = prefix / QVM_BINDIR_FROM_PREFIX / "qvm";
    const fs::path sample =
        prefix / QVM_DATADIR_FROM_PREFIX / "qvmclient" / "sample-table.bin";
    const auto serviceTag = [&]
    {
        return qvmtest::tool::run(
            program, {"smbios", "service-tag"},
            {std::string("LD_LIBRARY_PATH=") + QVM_LIBRARY_DIR});
    };
    fs::create_directories(program.parent_path());
    fs::copy_file(qvmtest::tool::kProgram, program);
    if (!fs::exists(fs::path(QVM_INSTALLED_SAMPLE)))
    {
        const Result none = serviceTag();
        EXPECT_EQ(none.status, 1);
        EXPECT_THAT(none.err, HasSubstr("qvm: no SMBIOS table: "));
        EXPECT_THAT(none.err, HasSubstr("Needed component not found (6)"));
    }
    fs::create_directories(sample.parent_path());
    fs::copy_file(qvmtest::tool::kSample, sample);
    EXPECT_EQ(serviceTag(), (Result{0, "QS22C0417\n", ""}));
    fs::remove_all(prefix);
}
