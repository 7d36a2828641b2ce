#include "standin_process.hpp"

#include "child_line.hpp"
#include "connect.hpp"

#include <signal.h>
#include <sys/wait.h>

namespace qvmtest
{
namespace
{

constexpr char kAddressPrefix[] = "DBUS_SYSTEM_BUS_ADDRESS=";

} // namespace

bool StandinProcess::start(const std::string& program,
                           const std::string& fixture,
                           const std::vector<std::string>& extra)
{
    std::vector<std::string> args{"--private"};
    if (!fixture.empty())
        args.insert(args.end(), {"--fixture", fixture});
    args.insert(args.end(), extra.begin(), extra.end());
    const standin::Child child = standin::startChild(program, args, false);
    pid_ = child.pid;
    if (child.firstLine.rfind(kAddressPrefix, 0) != 0)
    {
        stop();
        return false;
    }
    address_ = child.firstLine.substr(sizeof kAddressPrefix - 1);
    return true;
}

void StandinProcess::stop()
{
    if (pid_ > 0)
    {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

qvm::BusPtr StandinProcess::connect() const
{
    return standin::connectBus(address_);
}

} // namespace qvmtest
