#include "common/handles.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"
#include "support/standin_bus.hpp"

#include <cerrno>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;
using testing::IsEmpty;
namespace standin = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus();

constexpr char kManagerPath[] = "/xyz/openbmc_project/QuorvaneManager1";
constexpr char kStopPath[] = "/net/qvmclient/test/stop";
constexpr char kChanged[] = R"({"State": {"type": "s", "value": "Busy"}})";

// What each subscriber's handler saw: the path of every message, and
// whether any came with user data.
struct Seen
{
    std::vector<std::string> paths;
    bool userData = false;
};
Seen first;
Seen second;

int record(Seen& seen, sd_bus_message* m, void* userdata)
{
    seen.paths.emplace_back(sd_bus_message_get_path(m));
    seen.userData = seen.userData || userdata != nullptr;
    return 0;
}
int onFirst(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    return record(first, m, userdata);
}
int onSecond(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    return record(second, m, userdata);
}

// Closes the connection from inside the loop, which is how a test ends it:
// the stand-in's signals arrive in order, so everything emitted before the
// stop signal has been dispatched by then.
int closeBus(sd_bus_message* m, void*, sd_bus_error*)
{
    sd_bus_close(sd_bus_message_get_bus(m));
    return 0;
}

class SignalSubscription : public testing::Test
{
  protected:
    void SetUp() override
    {
        first = {};
        second = {};
        client = qvm::BusPtr(QVM_ConnectToBus());
        ASSERT_TRUE(client);
        const std::string stopRule =
            std::string("type='signal',path='") + kStopPath + "'";
        ASSERT_GE(sd_bus_add_match(client.get(), nullptr, stopRule.c_str(),
                                   closeBus, nullptr),
                  0);
    }

    // Emits the signals, then stops the loop.
    void runLoop(const std::vector<std::string>& paths)
    {
        for (const auto& path : paths)
            standin::emit(path, "xyz.openbmc_project.QuorvaneManager1.QV0",
                          kChanged);
        standin::emit(kStopPath, "net.qvmclient.Test", "{}");
        EXPECT_EQ(QVM_ClientSignalWait(client.get()), QVM_RC_FAILED);
    }

    qvm::BusPtr client;
};

// The loop's last lines; every line before them is a processing step.
void expectStopped(const std::vector<LogLine>& lines, int error)
{
    ASSERT_GE(lines.size(), 3U);
    for (std::size_t i = 0; i + 2 < lines.size(); ++i)
    {
        EXPECT_EQ(lines[i].priority, 7);
        EXPECT_THAT(lines[i].text, testing::StartsWith("Process returned: "));
    }
    EXPECT_EQ(lines[lines.size() - 3].text,
              "Process returned: " + std::to_string(-error) + "\n");
    EXPECT_THAT(
        std::vector<LogLine>(lines.end() - 2, lines.end()),
        ElementsAre(LogLine{8, 4,
                            std::string("Failed to  process requests bus: ") +
                                std::strerror(error) + "\n"},
                    LogLine{8, 7, "Processing stopped\n"}));
}

} // namespace

TEST_F(SignalSubscription, EverySubscriberHearsTheManagerOnly)
{
    LogCapture log;
    EXPECT_EQ(QVM_ClientSignalInit("first", onFirst, client.get()),
              QVM_RC_SUCCESS);
    EXPECT_EQ(QVM_ClientSignalInit("second", onSecond, client.get()),
              QVM_RC_SUCCESS);
    EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 7, "Signal first\n"},
                                         LogLine{8, 7, "Signal second\n"}));
    log.clear();
    runLoop({"/xyz/openbmc_project/Other", kManagerPath, kManagerPath});
    EXPECT_THAT(first.paths, ElementsAre(kManagerPath, kManagerPath));
    EXPECT_THAT(second.paths, ElementsAre(kManagerPath, kManagerPath));
    EXPECT_FALSE(first.userData || second.userData);
    // Closed from inside a handler, the connection stops the loop.
    expectStopped(log.lines(), ECONNRESET);
}

TEST(SignalLoop, StopsWhenThePeerHangsUp)
{
    first = {};
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
    sd_bus* raw = nullptr;
    ASSERT_GE(sd_bus_new(&raw), 0);
    const qvm::BusPtr peerless(raw);
    ASSERT_GE(sd_bus_set_fd(raw, fds[0], fds[0]), 0);
    ASSERT_GE(sd_bus_start(raw), 0);
    EXPECT_EQ(QVM_ClientSignalInit("peer", onFirst, raw), QVM_RC_SUCCESS);
    close(fds[1]);
    LogCapture log;
    EXPECT_EQ(QVM_ClientSignalWait(raw), QVM_RC_FAILED);
    expectStopped(log.lines(), ECONNRESET);
    EXPECT_THAT(first.paths, IsEmpty());
}

TEST(SignalLoop, InitNeedsANameAndABus)
{
    const qvm::BusPtr client(QVM_ConnectToBus());
    LogCapture log;
    EXPECT_EQ(QVM_ClientSignalInit(nullptr, onFirst, client.get()),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_ClientSignalInit("x", onFirst, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_THAT(log.lines(), IsEmpty());
}
