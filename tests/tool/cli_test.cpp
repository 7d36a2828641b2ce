// The command line itself: help, usage errors and exit codes, and where qvm
// finds the sample table.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
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

const std::string kCommands[] = {"version",
                                 "smbios export",
                                 "smbios list",
                                 "smbios show",
                                 "smbios get",
                                 "smbios service-tag",
                                 "smbios system-name",
                                 "smbios bios",
                                 "smbios fqdd",
                                 "smbios info",
                                 "smbios dump-bin",
                                 "manager version",
                                 "manager package",
                                 "manager save",
                                 "manager collect",
                                 "manager export",
                                 "manager ticket",
                                 "manager watch",
                                 "ticket check",
                                 "event add",
                                 "inventory",
                                 "inventory get"};

} // namespace

// The tool's help lists each command on one line, in the order of the
// list above, and says what the exit codes mean.
TEST(Cli, HelpListsEveryCommandOnOneLineAndEachCommandHasItsOwn)
{
    const Result help = runQvm({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_THAT(help.out, StartsWith("Usage: qvm [--bus ADDRESS] [--verbose] "
                                     "[--mask-debug] COMMAND"));
    EXPECT_THAT(help.out, HasSubstr("\nExit status: 0 success; 1 failure, its "
                                    "cause on standard error; 2 wrong "
                                    "usage.\n"));
    std::vector<std::string> listed;
    std::istringstream in(help.out.substr(help.out.find("Commands:\n")));
    for (std::string line; std::getline(in, line) && line != "";)
        if (line.rfind("  ", 0) == 0)
            listed.push_back(line.substr(2, line.find("  ", 2) - 2));
    EXPECT_THAT(listed, testing::ElementsAreArray(kCommands));
    for (const std::string& command : kCommands)
    {
        const Result own = runQvm(words(command + " --help"));
        EXPECT_EQ(own.status, 0) << command;
        EXPECT_THAT(own.out, StartsWith("Usage: qvm " + command));
    }
    const Result group = runQvm({"manager", "--help"});
    EXPECT_EQ(group.status, 0);
    EXPECT_THAT(group.out, HasSubstr("manager watch"));
    EXPECT_THAT(group.out, Not(HasSubstr("smbios")));
}

TEST(Cli, VersionNamesTheToolAndTheLibrary)
{
    const Result r = runQvm({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_THAT(r.out, testing::MatchesRegex("qvm [0-9.]+\nlibrary 1\\.01\\."
                                             "00\\.00 \\(libqvmclient\\."
                                             "so\\.1\\)\n"));
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
        {{"frobnicate"},
         "qvm: The following argument was not expected: frobnicate\n"},
        {{"smbios"}, "Commands of qvm smbios:"},
        {{"smbios", "frobnicate"},
         "qvm: smbios: The following argument was "
         "not expected: frobnicate\n"},
        {{"smbios", "list", "--colour"},
         "qvm: smbios list: The following argument was not expected: "
         "--colour\nRun 'qvm smbios list --help' for its arguments.\n"},
        {{"smbios", "list", "--type"}, "qvm: smbios list: --type: 1 required"},
        {{"smbios", "list", "--type", "256"},
         "qvm: smbios list: --type takes a type number, or bios, system, "
         "baseboard, chassis, processor, memory, cache, connector or slot, "
         "not '256'\n"},
        {{"smbios", "show"},
         "qvm: smbios show: give either a HANDLE or --type\n"},
        {{"smbios", "show", "1", "--type", "bios"},
         "qvm: smbios show: give either a HANDLE or --type\n"},
        {{"smbios", "get", "chassis-colour"},
         "qvm: smbios get: unknown keyword 'chassis-colour'; it takes one of "
         "bios-vendor, "},
        {{"smbios", "export", "--table", "t", "--from-bus"},
         "qvm: smbios export: --table excludes --from-bus\n"},
        {{"smbios", "fqdd", "1", "2"}, "smbios fqdd: The following argument"},
        {{"manager", "package", "--number1", "65536"},
         "qvm: manager package: --number1 takes a number up to 65535, not "
         "'65536'\n"},
        {{"manager", "save", "--text1", std::string(98, 'x')},
         "qvm: manager save: --text1 holds at most 97 characters\n"},
        {{"ticket", "check"}, "qvm: ticket check: TEXT is required\n"},
        {{"smbios", "show", "0xFFFF"}, "HANDLE takes a number up to 65534"},
        {{"smbios", "show", "12ab"}, "HANDLE takes a number up to 65534"},
        {{"smbios", "show", "-1"}, "HANDLE takes a number up to 65534"},
        {{"event", "add", "M",  "1",  "2",  "3",  "4",  "5",  "6",  "7",
          "8",     "9",   "10", "11", "12", "13", "14", "15", "16", "17"},
         "qvm: event add: at most 16 message arguments\n"},
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
    const std::string cannotRead =
        "qvm: smbios service-tag: cannot read the SMBIOS table ";
    const qvmtest::tool::Case cases[] = {
        {"version", 0, "1.01.00.00\n"},
        {"ticket check ABC_DEFGHIJ_" + std::string(32, 'k'), 0, "valid\n"},
        // After "--" a word that looks like an option is an argument.
        {"ticket check -- --x_y_" + std::string(32, 'z'), 0, "valid\n"},
        {"ticket check ABC_DEFGHIJ_short", 1, "",
         "qvm: ticket check: Invalid Ticket supplied (1)\n"},
        {"smbios service-tag --table=" + sample, 0, "QS22C0417\n"},
        {"smbios service-tag --table /nonexistent/table.bin", 1, "",
         cannotRead + "/nonexistent/table.bin: No such file or directory\n"},
        {"smbios service-tag --table /", 1, "",
         cannotRead + "/: Is a directory\n"},
        {"smbios service-tag --table /dev/null", 1, "",
         cannotRead + "/dev/null: not a regular file\n"},
        {"smbios service-tag --table " + empty.path(), 1, "",
         cannotRead + empty.path() + ": the file is empty\n"},
        {"smbios export --output /nonexistent/out.json --table " + sample, 1,
         "",
         "qvm: smbios export: cannot write /nonexistent/out.json: No such "
         "file or directory\n"},
        {"smbios export --output / --table " + sample, 1, "",
         "qvm: smbios export: cannot write /: not a regular file\n"},
    };
    qvmtest::tool::expectEach(cases);
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
        const Result none = serviceTag();
        EXPECT_EQ(none.status, 1);
        EXPECT_THAT(none.err, HasSubstr("qvm: smbios service-tag: the bundled "
                                        "sample table is missing (looked in "));
    }
    fs::create_directories(sample.parent_path());
    fs::copy_file(qvmtest::tool::kSample, sample);
    EXPECT_EQ(serviceTag(), (Result{0, "QS22C0417\n", ""}));
    fs::remove_all(prefix);
}
