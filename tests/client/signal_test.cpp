#include "client_support.hpp"
#include "common/handles.hpp"

#include <sys/socket.h>
#include <unistd.h>

namespace
{

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

template <Seen& seen> int on(sd_bus_message* m, void* userdata, sd_bus_error*)
{
    seen.paths.emplace_back(sd_bus_message_get_path(m));
    seen.userData = seen.userData || userdata != nullptr;
    return 0;
}

// Closes the connection from inside the loop, which is how a test ends it:
// the stand-in's signals arrive in order, so everything emitted before the
// stop signal has been dispatched by then.
int closeBus(sd_bus_message* m, void*, sd_bus_error*)
{
    sd_bus_close(sd_bus_message_get_bus(m));
    return 0;
}

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
        ElementsAre(
            LogLine{8, 4,
                    errnoText("Failed to  process requests bus: ", error)},
            LogLine{8, 7, "Processing stopped\n"}));
}

} // namespace

TEST(SignalSubscription, EverySubscriberHearsTheManagerOnly)
{
    first = {};
    second = {};
    const qvm::BusPtr client(QVM_ConnectToBus());
    ASSERT_TRUE(client);
    const std::string stopRule =
        std::string("type='signal',path='") + kStopPath + "'";
    ASSERT_GE(sd_bus_add_match(client.get(), nullptr, stopRule.c_str(),
                               closeBus, nullptr),
              0);
    LogCapture log;
    EXPECT_EQ(QVM_ClientSignalInit(nullptr, on<first>, client.get()),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_ClientSignalInit("x", on<first>, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_ClientSignalInit("first", on<first>, client.get()),
              QVM_RC_SUCCESS);
    EXPECT_EQ(QVM_ClientSignalInit("second", on<second>, client.get()),
              QVM_RC_SUCCESS);
    EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 7, "Signal first\n"},
                                         LogLine{8, 7, "Signal second\n"}));
    log.clear();
    for (const char* path :
         {"/xyz/openbmc_project/Other", kManagerPath, kManagerPath})
        standin::emit(path, "xyz.openbmc_project.QuorvaneManager1.QV0",
                      kChanged);
    standin::emit(kStopPath, "net.qvmclient.Test", "{}");
    EXPECT_EQ(QVM_ClientSignalWait(client.get()), QVM_RC_FAILED);
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
    EXPECT_EQ(QVM_ClientSignalInit("peer", on<first>, raw), QVM_RC_SUCCESS);
    close(fds[1]);
    LogCapture log;
    EXPECT_EQ(QVM_ClientSignalWait(raw), QVM_RC_FAILED);
    expectStopped(log.lines(), ECONNRESET);
    EXPECT_THAT(first.paths, IsEmpty());
}
