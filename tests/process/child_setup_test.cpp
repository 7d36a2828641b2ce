#include "process_support.hpp"
#include "qvmclient.h"

#include <csignal>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;

// The exported environment array is read afresh at each start.
TEST(ChildSetup, TheEnvironmentArrayIsReadAtEachStart)
{
    const qvmtest::TempFile file({});
    ArgList args{"probe", "env", file.path()};
    ASSERT_EQ(QVM_system_call_wait(probePath(), args.get()), 0);
    char user[] = "USER=operator";
    char* const saved = envp[2];
    envp[2] = user;
    const int32_t rc = QVM_system_call_wait(probePath(), args.get());
    envp[2] = saved;
    ASSERT_EQ(rc, 0);
    EXPECT_THAT(childEnvironment(file.path()),
                testing::HasSubstr("\nUSER=operator\n"));
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
    EXPECT_EQ(qvmtest::transcript::readText(out), expected);
}
