// What the transcript cannot show: calls side by side, and a child that
// someone else reaped.
#include "process_support.hpp"
#include "qvmclient.h"

#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;

TEST(SystemCallWait, EachCallWaitsForItsOwnChild)
{
    const auto run = [](const char* script)
    {
        ArgList args{"sh", "-c", script};
        return QVM_system_call_wait("/bin/sh", args.get());
    };
    auto slow = std::async(std::launch::async,
                           [&run] { return run("sleep 0.3; exit 3"); });
    auto quick =
        std::async(std::launch::async, [&run] { return run("exit 0"); });
    EXPECT_EQ(quick.get(), 0);
    EXPECT_EQ(slow.get(), -1);
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
