#include "process_support.hpp"
#include "qvmclient.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>

using namespace qvmtest::process;
using qvmtest::LogCapture;
using testing::ElementsAre;
using testing::Pair;

namespace
{

constexpr char kName[] = "QVM_system_call_timeout: ";
// Each script first writes its process id to the file named by $0.
constexpr char kWritePid[] = "echo $$ > \"$0\"; ";

} // namespace

// Run side by side so that their one-second polls overlap. A child still
// running at the limit is killed and not waited for; the status word was
// never filled, so the lines show zeros.
TEST(SystemCallTimeout, JudgesHowTheChildEndedAndCountsWholeSeconds)
{
    struct Case
    {
        const char* body;
        int32_t seconds;
        int32_t rc;
        std::string status; // after "PID "
        bool killLine = false;
    };
    const Case cases[] = {
        {"exit 0", 3, 0, "N - STATUS 0 -EXIT STATUS 0"},
        {"exit 1", 3, -1, "N - STATUS 100 -EXIT STATUS 1"},
        {"kill -9 $$", 3, -1, "N - STATUS 9 -EXIT STATUS 0", true},
        {"exec sleep 10", 1, 0, "0 - STATUS 0 -EXIT STATUS 0"},
        // Ends within the last second: still timed out, whatever its status.
        {"sleep 0.5; exit 1", 1, 0, "0 - STATUS 0 -EXIT STATUS 0"},
        // A limit of 0 or less never runs out.
        {"sleep 1.2; exit 3", 0, -1, "N - STATUS 300 -EXIT STATUS 3"},
        {"sleep 1.2; exit 3", -1, -1, "N - STATUS 300 -EXIT STATUS 3"},
    };
    constexpr std::size_t kSleeper = 3;
    constexpr std::size_t kLastSecond = 4;

    std::deque<qvmtest::TempFile> pidFiles;
    LogCapture log;
    clearKillCalls();
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::future<int32_t>> results;
    for (const Case& c : cases)
    {
        const std::string pidFile =
            pidFiles.emplace_back(qvmtest::Bytes{}).path();
        results.push_back(std::async(
            std::launch::async,
            [&c, pidFile]
            {
                ArgList args{"sh", "-c", kWritePid + std::string(c.body),
                             pidFile};
                return QVM_system_call_timeout("/bin/sh", args.get(),
                                               c.seconds);
            }));
    }
    const std::string name = kName;
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        EXPECT_EQ(results[i].get(), c.rc) << c.body;
        expected.insert(
            expected.end(),
            {name + "Performing /bin/sh -c " + kWritePid + c.body + "\n",
             name + "Waiting for Child to exit\n",
             name + "PID " + c.status + "\n",
             name +
                 (c.rc == 0 ? "Returning SUCCESS\n" : "Returning FAILURE\n")});
        if (c.killLine)
            expected.push_back(name + "Killing PID N\n");
    }

    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::seconds(5));

    // Only the unreaped children at the limit are signalled; the one that a
    // signal ended was already reaped when the kill step came.
    std::vector<testing::Matcher<std::pair<pid_t, int>>> killed;
    for (const std::size_t i : {kSleeper, kLastSecond})
    {
        const pid_t pid = readPid(pidFiles[i].path());
        killed.push_back(Pair(pid, SIGKILL));
        int status = 0;
        EXPECT_EQ(waitpid(pid, &status, 0), pid);
        if (i == kSleeper)
        {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        }
    }
    EXPECT_THAT(killCalls(), testing::UnorderedElementsAreArray(killed));
    EXPECT_TRUE(noChildrenLeft());
    // Texts only: with several threads logging, one thread's closelog can
    // come between another's openlog and its message.
    EXPECT_THAT(textsWithoutPids(log),
                testing::UnorderedElementsAreArray(expected));
}

// A limit of 0 polls at once; when the child turns out to be reaped by
// someone else, its id may already name another process and must not be
// signalled.
TEST(SystemCallTimeout, ChildReapedElsewhereIsNotKilled)
{
    ArgList args{"sh", "-c", "sleep 0.5"};
    clearKillCalls();
    failNextWaitWithNoChild();
    EXPECT_EQ(QVM_system_call_timeout("/bin/sh", args.get(), 0), -1);
    EXPECT_THAT(killCalls(), testing::IsEmpty());
    int status = 0;
    EXPECT_GT(waitpid(-1, &status, 0), 0);
    EXPECT_TRUE(noChildrenLeft());
}
