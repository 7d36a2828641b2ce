#include "process_support.hpp"
#include "qvmclient.h"
#include "support/descriptors.hpp"

#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using namespace qvmtest::process;
using qvmtest::LogCapture;
using qvmtest::openDescriptors;
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

} // namespace

// Success only for an exit status of 0, and it writes no line of its own;
// however the child ends, it is reaped and no descriptor stays open.
TEST(SystemCallWait, LogsTheStartTheWaitAndTheStatusWord)
{
    struct Case
    {
        const char* path;
        ArgList args;
        int32_t rc;
        std::string performing; // with the first two arguments
        std::string status;
    };
    const Case cases[] = {
        {kShell, {"sh", "-c", "exit 0"}, 0, "/bin/sh -c exit 0", "0"},
        {kShell, {"sh", "-c", "exit 3"}, -1, "/bin/sh -c exit 3", "300"},
        // Ended by a signal: the exit-status bits are 0, yet it failed.
        {kShell, {"sh", "-c", "kill -9 $$"}, -1, "/bin/sh -c kill -9 $$", "9"},
        // The exec fails and the child ends with _exit(-1): status 255.
        {"/nonexistent/absent",
         {"absent", "one", "two", "three"},
         -1,
         "/nonexistent/absent one two",
         "ff00"},
        {kTrue, {"true"}, 0, "/bin/true (null) (null)", "0"},
        {kTrue, {"true", "x"}, 0, "/bin/true x (null)", "0"},
    };
    const std::string name = "QVM_system_call_wait: ";
    const auto descriptors = openDescriptors();
    for (const auto& c : cases)
    {
        LogCapture log;
        EXPECT_EQ(QVM_system_call_wait(c.path, c.args.get()), c.rc);
        std::vector<std::string> expected{name + "Performing " + c.performing +
                                          "\n"};
        if (c.status == "ff00")
            expected.push_back(name + "Exec return -1\n");
        expected.push_back(name + "Waiting for Child to exit\n");
        expected.push_back(name + "PID N - STATUS " + c.status + "\n");
        if (c.rc != 0)
            expected.push_back(name + "Returning FAILURE\n");
        EXPECT_EQ(tracedTexts(log), expected);
    }
    EXPECT_TRUE(noChildrenLeft());
    EXPECT_EQ(openDescriptors(), descriptors);
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
