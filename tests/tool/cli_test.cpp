// Where qvm finds the sample table of an installation.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using qvmtest::tool::Result;
using testing::HasSubstr;

namespace fs = std::filesystem;

// An installation keeps the sample under share/qvmclient beside bin/.
TEST(Cli, FindsTheSampleTableOfAnInstallation)
{
    const qvmtest::tool::ScratchFolder folder("qvm-prefix");
    const fs::path& prefix = folder.path;
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
}
