#include "process_support.hpp"

#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{

std::mutex killMutex;
std::vector<std::pair<pid_t, int>> recordedKills;

} // namespace

// Records the signal and sends it as the C library would.
extern "C" int kill(pid_t pid, int sig)
{
    {
        std::lock_guard lock(killMutex);
        recordedKills.emplace_back(pid, sig);
    }
    return static_cast<int>(syscall(SYS_kill, pid, sig));
}

namespace qvmtest::process
{

std::vector<std::pair<pid_t, int>> killCalls()
{
    std::lock_guard lock(killMutex);
    return recordedKills;
}

void clearKillCalls()
{
    std::lock_guard lock(killMutex);
    recordedKills.clear();
}

} // namespace qvmtest::process
