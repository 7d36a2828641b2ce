#include "process_support.hpp"

#include <atomic>
#include <cerrno>
#include <mutex>
#include <sys/syscall.h>
#include <unistd.h>

namespace
{

std::mutex killMutex;
std::vector<std::pair<pid_t, int>> recordedKills;
std::atomic<bool> nextWaitFindsNoChild{false};

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

// Waits as the C library would, unless told that the next wait is to find
// the child already reaped by someone else.
extern "C" pid_t waitpid(pid_t pid, int* status, int options)
{
    if (nextWaitFindsNoChild.exchange(false))
    {
        errno = ECHILD;
        return -1;
    }
    return static_cast<pid_t>(
        syscall(SYS_wait4, pid, status, options, nullptr));
}

namespace qvmtest::process
{

void failNextWaitWithNoChild()
{
    nextWaitFindsNoChild = true;
}

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
