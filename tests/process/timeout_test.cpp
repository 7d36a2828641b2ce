#include "process_support.hpp"
#include "qvmclient.h"

#include <algorithm>
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

std::vector<std::string> sorted(std::vector<std::string> texts)
{
    std::sort(texts.begin(), texts.end());
    return texts;
}

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
    ScratchDir dir;
    const Scenario clean{"exit 0", 3, dir.file("clean")};
    const Scenario failing{"exit 1", 3, dir.file("failing")};
    const Scenario signalled{"kill -9 $$", 3, dir.file("signalled")};
    // Ends within the last second: still timed out, whatever its status.
    const Scenario lastSecond{"sleep 0.5; exit 1", 1, dir.file("last")};
    // A limit of 0 or less never runs out.
    const Scenario noLimit{"sleep 1.2; exit 3", 0, dir.file("none")};
    const Scenario negative{"sleep 1.2; exit 3", -1, dir.file("negative")};
    const Scenario* all[] = {&clean,      &failing, &signalled,
                             &lastSecond, &noLimit, &negative};

    LogCapture log;
    clearKillCalls();
    std::vector<std::future<int32_t>> results;
    for (const Scenario* scenario : all)
        results.push_back(std::async(std::launch::async,
                                     [scenario] { return scenario->run(); }));
    EXPECT_EQ(results[0].get(), 0);
    EXPECT_EQ(results[1].get(), -1);
    EXPECT_EQ(results[2].get(), -1);
    EXPECT_EQ(results[3].get(), 0);
    EXPECT_EQ(results[4].get(), -1);
    EXPECT_EQ(results[5].get(), -1);

    // Only the unreaped child at the limit is signalled; the one that a
    // signal ended was already reaped when the kill step came.
    const pid_t timedOut = readPid(lastSecond.pidFile);
    ASSERT_GT(timedOut, 0);
    EXPECT_THAT(killCalls(), ElementsAre(Pair(timedOut, SIGKILL)));
    int status = 0;
    EXPECT_EQ(waitpid(timedOut, &status, 0), timedOut);
    EXPECT_TRUE(noChildrenLeft());

    const std::string name = kName;
    const std::string waiting = name + "Waiting for Child to exit\n";
    const std::string success = name + "Returning SUCCESS\n";
    const std::string failure = name + "Returning FAILURE\n";
    // Texts only: with several threads logging, one thread's closelog can
    // come between another's openlog and its message.
    EXPECT_EQ(sorted(textsWithoutPids(log)),
              sorted({
                  clean.performing(),
                  waiting,
                  name + "PID N - STATUS 0 -EXIT STATUS 0\n",
                  success,
                  failing.performing(),
                  waiting,
                  name + "PID N - STATUS 100 -EXIT STATUS 1\n",
                  failure,
                  signalled.performing(),
                  waiting,
                  name + "PID N - STATUS 9 -EXIT STATUS 0\n",
                  name + "Killing PID N\n",
                  failure,
                  lastSecond.performing(),
                  waiting,
                  name + "PID 0 - STATUS 0 -EXIT STATUS 0\n",
                  success,
                  noLimit.performing(),
                  waiting,
                  name + "PID N - STATUS 300 -EXIT STATUS 3\n",
                  failure,
                  negative.performing(),
                  waiting,
                  name + "PID N - STATUS 300 -EXIT STATUS 3\n",
                  failure,
              }));
}
