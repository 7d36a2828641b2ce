#include "process_support.hpp"
#include "qvmclient.h"

#include <dirent.h>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;
using qvmtest::LogCapture;
using testing::ElementsAre;

namespace
{

constexpr const char* kShell = "/bin/sh";
constexpr const char* kTrue = "/bin/true";

int32_t runScript(const std::string& script)
{
    ArgList args{"sh", "-c", script};
    return QVM_system_call_wait(kShell, args.get());
}

std::size_t openDescriptors()
{
    std::size_t count = 0;
    if (DIR* dir = opendir("/proc/self/fd"))
    {
        while (readdir(dir) != nullptr)
            ++count;
        closedir(dir);
    }
    return count;
}

} // namespace

TEST(SystemCallWait, SucceedsOnlyWhenTheProgramExitsWithZero)
{
    EXPECT_EQ(runScript("exit 0"), 0);
    EXPECT_EQ(runScript("exit 3"), -1);
    // Ended by a signal: the exit-status bits are 0, yet it failed.
    EXPECT_EQ(runScript("kill -9 $$"), -1);
}

TEST(SystemCallWait, LogsTheStartTheWaitAndTheStatusWord)
{
    LogCapture log;
    ASSERT_EQ(runScript("exit 3"), -1);
    EXPECT_THAT(
        tracedTexts(log),
        ElementsAre("QVM_system_call_wait: Performing /bin/sh -c exit 3\n",
                    "QVM_system_call_wait: Waiting for Child to exit\n",
                    "QVM_system_call_wait: PID N - STATUS 300\n",
                    "QVM_system_call_wait: Returning FAILURE\n"));

    // Success writes no line of its own.
    log.clear();
    ASSERT_EQ(runScript("exit 0"), 0);
    EXPECT_THAT(tracedTexts(log),
                ElementsAre(testing::_, testing::_,
                            "QVM_system_call_wait: PID N - STATUS 0\n"));
}

TEST(SystemCallWait, MissingProgramLogsTheExecResultAndFails)
{
    LogCapture log;
    ArgList args{"absent", "one", "two", "three"};
    EXPECT_EQ(QVM_system_call_wait("/nonexistent/absent", args.get()), -1);
    // The child ends with _exit(-1): exit status 255.
    EXPECT_THAT(
        tracedTexts(log),
        ElementsAre(
            "QVM_system_call_wait: Performing /nonexistent/absent one two\n",
            "QVM_system_call_wait: Exec return -1\n",
            "QVM_system_call_wait: Waiting for Child to exit\n",
            "QVM_system_call_wait: PID N - STATUS ff00\n",
            "QVM_system_call_wait: Returning FAILURE\n"));
}

TEST(SystemCallWait, ShortArgumentListsLogNullStrings)
{
    LogCapture log;
    ArgList alone{"true"};
    EXPECT_EQ(QVM_system_call_wait(kTrue, alone.get()), 0);
    ArgList one{"true", "x"};
    EXPECT_EQ(QVM_system_call_wait(kTrue, one.get()), 0);
    const auto texts = tracedTexts(log);
    ASSERT_EQ(texts.size(), 6U);
    EXPECT_EQ(texts[0],
              "QVM_system_call_wait: Performing /bin/true (null) (null)\n");
    EXPECT_EQ(texts[3],
              "QVM_system_call_wait: Performing /bin/true x (null)\n");
}

TEST(SystemCallWait, EachCallWaitsForItsOwnChild)
{
    auto slow = std::async(std::launch::async,
                           [] { return runScript("sleep 0.3; exit 3"); });
    auto quick =
        std::async(std::launch::async, [] { return runScript("exit 0"); });
    EXPECT_EQ(quick.get(), 0);
    EXPECT_EQ(slow.get(), -1);
}

TEST(SystemCalls, LeaveNoChildAndNoDescriptorBehind)
{
    ScratchDir dir;
    const std::string input = dir.file("input");
    std::FILE* create = std::fopen(input.c_str(), "w");
    ASSERT_NE(create, nullptr);
    std::fclose(create);

    ASSERT_TRUE(noChildrenLeft());
    const std::size_t descriptors = openDescriptors();
    LogCapture log;
    ArgList args{"true"};
    for (int i = 0; i < 20; ++i)
    {
        EXPECT_EQ(QVM_system_call_wait(kTrue, args.get()), 0);
        EXPECT_EQ(QVM_system_call_wait("/nonexistent", args.get()), -1);
        EXPECT_EQ(runScript("kill -9 $$"), -1);
        std::FILE* in = std::fopen(input.c_str(), "r");
        ASSERT_NE(in, nullptr);
        EXPECT_EQ(QVM_system_call_wait_stdin(in, kTrue, args.get()), 0);
        std::fclose(in);
    }
    EXPECT_TRUE(noChildrenLeft());
    EXPECT_EQ(openDescriptors(), descriptors);
}
