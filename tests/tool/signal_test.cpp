// qvm ended by a signal in the middle of an export, even one it cannot
// catch or one it has no use for, leaves the old output whole and nothing
// of its own behind, whether or not its unfinished output has a name.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "support/transcript.hpp"
#include "tablegen/sample_table.hpp"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace
{

namespace fs = std::filesystem;

} // namespace

// An export of the sample many times over, long enough to be cut, into a
// folder of its own that holds its whole output once made.
struct Export
{
    Export() : table(large())
    {
        EXPECT_EQ(qvmtest::tool::runQvm(args()).status, 0);
        whole = qvmtest::transcript::readText(output);
    }

    static tablegen::Bytes large()
    {
        const tablegen::Bytes sample = tablegen::sampleTable().build();
        tablegen::Bytes bytes;
        for (int i = 0; i < 60; ++i)
            bytes.insert(bytes.end(), sample.begin(), sample.end());
        return bytes;
    }
    std::vector<std::string> args() const
    {
        return {"smbios",     "export",   "--table",
                table.path(), "--output", output.string()};
    }
    // Killed before the rename: the old file; after it (the signal may
    // still land before qvm exits): the whole new one. Nothing else, but
    // for the one moment no program can clean up after: SIGKILL between
    // naming the finished output and renaming it into place leaves it,
    // whole, under its own name.
    void expectOldOrWhole(int signal) const
    {
        const std::string text = qvmtest::transcript::readText(output);
        EXPECT_TRUE(text == "old" || text == whole) << "signal " << signal;
        for (const auto& entry : fs::directory_iterator(dir))
        {
            if (entry.path() == output)
                continue;
            EXPECT_TRUE(signal == SIGKILL && text == "old" &&
                        qvmtest::transcript::readText(entry.path()) == whole)
                << "signal " << signal << " left " << entry.path();
            fs::remove(entry.path());
        }
    }

    const qvmtest::TempFile table;
    const qvmtest::tool::ScratchFolder folder{"qvm-signals"};
    const fs::path& dir = folder.path;
    const fs::path output = dir / "out.json";
    std::string whole;
};

TEST(Signals, KilledMidExportLeavesTheOldOutputAlone)
{
    const Export job;
    for (const int signal :
         {SIGINT, SIGTERM, SIGPIPE, SIGKILL, SIGUSR1, SIGALRM})
        for (const int delayMs : {2, 10, 30})
        {
            std::ofstream(job.output) << "old";
            qvmtest::tool::Background qvm(job.args());
            std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
            qvm.stop(signal);
            job.expectOldOrWhole(signal);
        }
}

// Where the file system has no unnamed files the unfinished output has a
// name, which any signal that can be caught removes. qvm stops at its first
// write; the signal is sent once the name shows, then qvm goes on.
TEST(Signals, ANamedUnfinishedOutputIsRemoved)
{
    const Export job;
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::vector<std::string> env = {
        std::string("LD_PRELOAD=") + QVM_NO_UNNAMED_FILES,
        std::string("ASAN_OPTIONS=") + (asan ? asan : "") +
            ":verify_asan_link_order=0"};
    for (const int signal : {SIGINT, SIGTERM, SIGPIPE, SIGUSR1, SIGALRM})
    {
        std::ofstream(job.output) << "old";
        qvmtest::tool::Background qvm(job.args(), qvmtest::tool::kProgram, env);
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::seconds(10);
        bool named = false;
        while (!named && std::chrono::steady_clock::now() < deadline)
            named = std::distance(fs::directory_iterator(job.dir), {}) == 2;
        qvm.send(signal);
        qvm.stop(SIGCONT);
        EXPECT_TRUE(named) << "no named output showed";
        job.expectOldOrWhole(signal);
    }
}
