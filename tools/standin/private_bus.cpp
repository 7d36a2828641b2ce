#include "private_bus.hpp"

#include "child_line.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace standin
{
namespace
{

// Everything is allowed: the bus exists only for the stand-in and its
// clients, and exercising the policy is not its purpose.
constexpr char kConfig[] = R"(<busconfig>
  <type>qvm-standin</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*" eavesdrop="true"/>
    <allow receive_sender="*"/>
    <allow eavesdrop="true"/>
  </policy>
</busconfig>
)";

std::string writeConfig()
{
    char path[] = "/tmp/qvm-standin-bus-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return {};
    const bool ok = write(fd, kConfig, sizeof kConfig - 1) ==
                    static_cast<ssize_t>(sizeof kConfig - 1);
    close(fd);
    return ok ? path : std::string{};
}

} // namespace

bool PrivateBus::start()
{
    configPath_ = writeConfig();
    if (configPath_.empty())
    {
        std::perror("qvm-standin: private bus");
        return false;
    }
    // The daemon goes when the stand-in goes, however it ends. Its
    // complaint about raising the fd limit without privileges is noise on
    // a developer's machine.
    const Child daemon = startChild("dbus-daemon",
                                    {"--config-file=" + configPath_, "--nofork",
                                     "--nopidfile", "--print-address=1"},
                                    true);
    pid_ = daemon.pid;
    address_ = daemon.firstLine;
    if (address_.empty())
    {
        std::fprintf(stderr, "qvm-standin: dbus-daemon did not start\n");
        return false;
    }
    return true;
}

PrivateBus::~PrivateBus()
{
    if (pid_ > 0)
    {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (!configPath_.empty())
        unlink(configPath_.c_str());
}

} // namespace standin
