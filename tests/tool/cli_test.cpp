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
