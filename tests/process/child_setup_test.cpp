#include "process_support.hpp"
#include "qvmclient.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;
using qvmtest::LogCapture;
using testing::ElementsAre;

namespace
{

bool ignored(int sig)
{
    struct sigaction action = {};
    sigaction(sig, nullptr, &action);
    return action.sa_handler == SIG_IGN;
}

std::FILE* writeInput(const std::string& path, const std::string& text)
{
    std::FILE* file = std::fopen(path.c_str(), "w+");
    if (file != nullptr)
    {
        std::fputs(text.c_str(), file);
        std::fflush(file);
        std::rewind(file);
    }
    return file;
}

} // namespace

TEST(ChildSetup, ProgramSeesExactlyTheFixedEnvironment)
{
    ScratchDir dir;
    const std::string out = dir.file("env");
    ArgList args{"probe", "env", out};
    setenv("QVM_TEST_CALLER_ONLY", "1", 1);
    ASSERT_EQ(QVM_system_call_wait(probePath(), args.get()), 0);
    unsetenv("QVM_TEST_CALLER_ONLY");
    EXPECT_EQ(readFile(out), "HOME=/\n"
                             "PATH=/bin:/usr/bin:/usr/bin/quorvane\n"
                             "USER=root\n"
                             "LD_LIBRARY_PATH=/usr/lib\n");

    // The exported array is read afresh at each start.
    char user[] = "USER=operator";
    char* const saved = envp[2];
    envp[2] = user;
    const int32_t rc = QVM_system_call_wait(probePath(), args.get());
    envp[2] = saved;
    ASSERT_EQ(rc, 0);
    EXPECT_THAT(readFile(out), testing::HasSubstr("\nUSER=operator\n"));
}

TEST(ChildSetup, SignalsTheCallerIgnoresAreDefaultInTheChild)
{
    // 64 (SIGRTMAX) is the last number the child resets.
    constexpr int kCount = 4;
    const int signals[kCount] = {SIGHUP, SIGPIPE, SIGRTMIN + 3, 64};
    struct sigaction saved[kCount] = {};
    ScratchDir dir;
    const std::string out = dir.file("signals");
    ArgList args{"probe",
                 "signals",
                 out,
                 std::to_string(signals[0]),
                 std::to_string(signals[1]),
                 std::to_string(signals[2]),
                 std::to_string(signals[3])};

    for (int i = 0; i < kCount; ++i)
    {
        sigaction(signals[i], nullptr, &saved[i]);
        std::signal(signals[i], SIG_IGN);
    }
    const int32_t rc = QVM_system_call_wait(probePath(), args.get());
    std::string expected;
    for (int i = 0; i < kCount; ++i)
    {
        expected += std::to_string(signals[i]) + " default\n";
        EXPECT_TRUE(ignored(signals[i]))
            << "caller's disposition changed: " << signals[i];
        sigaction(signals[i], &saved[i], nullptr);
    }
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(readFile(out), expected);
}

TEST(ChildSetup, StdinComesFromTheCallersStream)
{
    ScratchDir dir;
    const std::string text = "first line\nsecond line\n";
    std::FILE* input = writeInput(dir.file("input"), text);
    ASSERT_NE(input, nullptr);
    const std::string out = dir.file("copy");
    ArgList args{"probe", "stdin", out};

    LogCapture log;
    EXPECT_EQ(QVM_system_call_wait_stdin(input, probePath(), args.get()), 0);
    std::fclose(input);
    EXPECT_EQ(readFile(out), text);
    const auto texts = tracedTexts(log);
    ASSERT_EQ(texts.size(), 3U);
    EXPECT_EQ(texts[0], "QVM_system_call_wait_stdin: Performing " +
                            std::string(probePath()) + " stdin " + out + "\n");
    EXPECT_EQ(texts[2], "QVM_system_call_wait_stdin: PID N - STATUS 0\n");
}

TEST(ChildSetup, CallersOwnStdinLeavesTheChildWithoutOne)
{
    ScratchDir dir;
    const std::string out = dir.file("copy");
    ArgList args{"probe", "stdin", out};
    EXPECT_EQ(QVM_system_call_wait_stdin(stdin, probePath(), args.get()), 0);
    EXPECT_EQ(readFile(out), "<closed>");
}

TEST(ChildSetup, StdinCallRefusesANullStreamOrPathWithoutStarting)
{
    ScratchDir dir;
    std::FILE* input = writeInput(dir.file("input"), "x");
    ASSERT_NE(input, nullptr);
    ArgList args{"true"};

    LogCapture log;
    EXPECT_EQ(QVM_system_call_wait_stdin(nullptr, "/bin/true", args.get()),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_system_call_wait_stdin(input, nullptr, args.get()),
              QVM_RC_INVALID_REQUEST);
    std::fclose(input);
    EXPECT_THAT(tracedTexts(log),
                ElementsAre("QVM_system_call_wait_stdin: Returning INVALID "
                            "REQUEST\n",
                            "QVM_system_call_wait_stdin: Returning INVALID "
                            "REQUEST\n"));
    EXPECT_TRUE(noChildrenLeft());
}
