#include "private_bus.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
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

std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line.push_back(c);
    return line;
}

} // namespace

bool PrivateBus::start()
{
    configPath_ = writeConfig();
    int fds[2];
    if (configPath_.empty() || pipe2(fds, O_CLOEXEC) < 0)
    {
        std::perror("qvm-standin: private bus");
        return false;
    }
    pid_ = fork();
    if (pid_ == 0)
    {
        // The daemon goes when the stand-in goes, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(fds[1], STDOUT_FILENO);
        // Its complaint about raising the fd limit without privileges is
        // noise on a developer's machine.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        const std::string config = "--config-file=" + configPath_;
        execlp("dbus-daemon", "dbus-daemon", config.c_str(), "--nofork",
               "--nopidfile", "--print-address=1", nullptr);
        _exit(127);
    }
    close(fds[1]);
    address_ = pid_ > 0 ? readLine(fds[0]) : std::string{};
    close(fds[0]);
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
