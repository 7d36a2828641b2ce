// qvm ended by a signal in the middle of an export leaves the old output
// whole and nothing of its own behind.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/sample_table.hpp"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace
{

namespace fs = std::filesystem;

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(Signals, KilledMidExportLeavesTheOldOutputAlone)
{
    // The sample many times over: an export long enough to be cut.
    const tablegen::Bytes sample = tablegen::sampleTable().build();
    tablegen::Bytes large;
    for (int i = 0; i < 60; ++i)
        large.insert(large.end(), sample.begin(), sample.end());
    const qvmtest::TempFile table(large);
    const fs::path dir = fs::path(testing::TempDir()) /
                         ("qvm-signals-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path output = dir / "out.json";
    ASSERT_EQ(qvmtest::tool::runQvm({"smbios", "export", "--table",
                                     table.path(), "--output", output.string()})
                  .status,
              0);
    const std::string whole = fileText(output);
    for (const int signal : {SIGINT, SIGTERM, SIGPIPE})
        for (const int delayMs : {2, 10, 30})
        {
            std::ofstream(output) << "old";
            qvmtest::tool::Background qvm({"smbios", "export", "--table",
                                           table.path(), "--output",
                                           output.string()});
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            qvm.stop(signal);
            const std::string text = fileText(output);
            // Killed before the rename: the old file; after it (the signal
            // may still land before qvm exits): the whole new one.
            EXPECT_TRUE(text == "old" || text == whole)
                << "signal " << signal << " after " << delayMs << " ms";
            EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1)
                << "signal " << signal << " after " << delayMs << " ms";
        }
    fs::remove_all(dir);
}
