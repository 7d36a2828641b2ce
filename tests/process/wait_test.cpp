// What the transcript cannot show: calls side by side.
#include "process_support.hpp"
#include "qvmclient.h"

#include <future>
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
