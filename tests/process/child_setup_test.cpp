#include "process_support.hpp"
#include "qvmclient.h"
#include "support/descriptors.hpp"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;
using qvmtest::LogCapture;
using testing::ElementsAre;

TEST(ChildSetup, ProgramSeesExactlyTheFixedEnvironment)
{
    const qvmtest::TempFile file({});
    const std::string out = file.path();
    ArgList args{"probe", "env", out};
    setenv("QVM_TEST_CALLER_ONLY", "1", 1);
    ASSERT_EQ(QVM_system_call_wait(probePath(), args.get()), 0);
    unsetenv("QVM_TEST_CALLER_ONLY");
    EXPECT_EQ(childEnvironment(out), "HOME=/\n"
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
    EXPECT_THAT(childEnvironment(out), testing::HasSubstr("\nUSER=operator\n"));
}

TEST(ChildSetup, SignalsTheCallerIgnoresAreDefaultInTheChild)
{
    // 64 (SIGRTMAX) is the last number the child resets.
    const int signals[] = {SIGHUP, SIGPIPE, SIGRTMIN + 3, 64};
    const qvmtest::TempFile file({});
    const std::string out = file.path();
    ArgList args{"probe",
                 "signals",
                 out,
                 std::to_string(signals[0]),
                 std::to_string(signals[1]),
                 std::to_string(signals[2]),
                 std::to_string(signals[3])};
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction saved[std::size(signals)] = {};
    std::string expected;
    for (std::size_t i = 0; i < std::size(signals); ++i)
    {
        sigaction(signals[i], &ignore, &saved[i]);
        expected += std::to_string(signals[i]) + " default\n";
    }
    const int32_t rc = QVM_system_call_wait(probePath(), args.get());
    for (std::size_t i = 0; i < std::size(signals); ++i)
    {
        struct sigaction now = {};
        sigaction(signals[i], &saved[i], &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN)
            << "caller's disposition changed: " << signals[i];
    }
    ASSERT_EQ(rc, 0);
    EXPECT_EQ(readFile(out), expected);
}

TEST(ChildSetup, StdinComesFromTheCallersStreamOrIsClosed)
{
    const std::string text = "first line\nsecond line\n";
    std::FILE* input = std::tmpfile();
    ASSERT_NE(input, nullptr);
    std::fputs(text.c_str(), input);
    std::fflush(input);
    std::rewind(input);
    const qvmtest::TempFile file({});
    const std::string out = file.path();
    ArgList args{"probe", "stdin", out};
    const std::string name = "QVM_system_call_wait_stdin: ";

    const auto descriptors = qvmtest::openDescriptors();
    LogCapture log;
    EXPECT_EQ(QVM_system_call_wait_stdin(input, probePath(), args.get()), 0);
    EXPECT_EQ(readFile(out), text);
    const auto texts = tracedTexts(log);
    ASSERT_EQ(texts.size(), 3U);
    EXPECT_EQ(texts[0],
              name + "Performing " + probePath() + " stdin " + out + "\n");
    EXPECT_EQ(texts[2], name + "PID N - STATUS 0\n");

    // The caller's own stdin leaves the child without one.
    EXPECT_EQ(QVM_system_call_wait_stdin(stdin, probePath(), args.get()), 0);
    EXPECT_EQ(readFile(out), "<closed>");
    EXPECT_EQ(qvmtest::openDescriptors(), descriptors);

    // A null stream or path starts nothing.
    log.clear();
    EXPECT_EQ(QVM_system_call_wait_stdin(nullptr, "/bin/true", args.get()),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_system_call_wait_stdin(input, nullptr, args.get()),
              QVM_RC_INVALID_REQUEST);
    std::fclose(input);
    EXPECT_THAT(tracedTexts(log),
                ElementsAre(name + "Returning INVALID REQUEST\n",
                            name + "Returning INVALID REQUEST\n"));
    EXPECT_TRUE(noChildrenLeft());
}
