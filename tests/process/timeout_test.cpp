#include "process_support.hpp"
#include "qvmclient.h"

#include <chrono>
#include <csignal>
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

constexpr const char* kShell = "/bin/sh";
constexpr const char* kName = "QVM_system_call_timeout: ";

// A shell script that first writes its process id to a file.
struct Scenario
{
    std::string body;
    int32_t seconds;
    std::string pidFile;

    std::string script() const { return "echo $$ > \"$0\"; " + body; }

    int32_t run() const
    {
        ArgList args{"sh", "-c", script(), pidFile};
        return QVM_system_call_timeout(kShell, args.get(), seconds);
    }

    std::string performing() const
    {
        return kName + std::string("Performing /bin/sh -c ") + script() + "\n";
    }
};

} // namespace

TEST(SystemCallTimeout, KillsAChildStillRunningAtTheLimitAndSucceeds)
{
    ScratchDir dir;
    const Scenario sleeper{"exec sleep 10", 1, dir.file("pid")};
    LogCapture log;
    clearKillCalls();

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(sleeper.run(), 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::seconds(1));
    EXPECT_LT(elapsed, std::chrono::seconds(5));

    // The status word was never filled: the lines show zeros.
    EXPECT_THAT(
        tracedTexts(log),
        ElementsAre(sleeper.performing(),
                    std::string(kName) + "Waiting for Child to exit\n",
                    std::string(kName) + "PID 0 - STATUS 0 -EXIT STATUS 0\n",
                    std::string(kName) + "Returning SUCCESS\n"));

    const pid_t pid = readPid(sleeper.pidFile);
    ASSERT_GT(pid, 0);
    EXPECT_THAT(killCalls(), ElementsAre(Pair(pid, SIGKILL)));
    // The call does not wait for the killed child; reap it here.
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
}

// Run side by side so that their one-second polls overlap.
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
        // Ends within the last second: still timed out, whatever its status.
        {"sleep 0.5; exit 1", 1, 0, "0 - STATUS 0 -EXIT STATUS 0"},
        // A limit of 0 or less never runs out.
        {"sleep 1.2; exit 3", 0, -1, "N - STATUS 300 -EXIT STATUS 3"},
        {"sleep 1.2; exit 3", -1, -1, "N - STATUS 300 -EXIT STATUS 3"},
    };
    constexpr std::size_t kLastSecond = 3;

    ScratchDir dir;
    std::vector<Scenario> scenarios;
    for (const auto& c : cases)
        scenarios.push_back(
            {c.body, c.seconds, dir.file(std::to_string(scenarios.size()))});
    LogCapture log;
    clearKillCalls();
    std::vector<std::future<int32_t>> results;
    for (const auto& scenario : scenarios)
        results.push_back(std::async(std::launch::async,
                                     [&scenario] { return scenario.run(); }));
    const std::string name = kName;
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i)
    {
        const Case& c = cases[i];
        EXPECT_EQ(results[i].get(), c.rc) << c.body;
        expected.insert(expected.end(),
                        {scenarios[i].performing(),
                         name + "Waiting for Child to exit\n",
                         name + "PID " + c.status + "\n",
                         name + (c.rc == 0 ? "Returning SUCCESS\n"
                                           : "Returning FAILURE\n")});
        if (c.killLine)
            expected.push_back(name + "Killing PID N\n");
    }

    // Only the unreaped child at the limit is signalled; the one that a
    // signal ended was already reaped when the kill step came.
    const pid_t timedOut = readPid(scenarios[kLastSecond].pidFile);
    ASSERT_GT(timedOut, 0);
    EXPECT_THAT(killCalls(), ElementsAre(Pair(timedOut, SIGKILL)));
    int status = 0;
    EXPECT_EQ(waitpid(timedOut, &status, 0), timedOut);
    EXPECT_TRUE(noChildrenLeft());
    // Texts only: with several threads logging, one thread's closelog can
    // come between another's openlog and its message.
    EXPECT_THAT(textsWithoutPids(log),
                testing::UnorderedElementsAreArray(expected));
}
