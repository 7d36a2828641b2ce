#include "process/child_launch.hpp"

#include "common/log.hpp"
#include "qvmclient.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

// The child never logs. Between fork and exec only async-signal-safe calls
// are allowed: the caller may have other threads, and a lock that one of
// them held at the moment of the fork (syslog's, malloc's, the stdio locks)
// stays held forever in the child, so logging there could hang the child
// before it ever runs the program. Instead the parent writes the child's
// lines: the start line right after the fork, and the exec result, which
// the child reports through a close-on-exec pipe. End of file on that pipe
// means the exec succeeded; four bytes mean it failed. (A fork on another
// thread in the meantime hands that child a copy of the write end too; the
// wait then also lasts until that child has exec'd or ended.)

namespace qvm::process
{

namespace
{

// Every signal number the platform knows (the real-time ones included).
// Numbers that cannot be reset (0, SIGKILL, SIGSTOP, those the C library
// keeps for itself) fail harmlessly.
constexpr int kLastSignal = 64;

// Both ends of the pipe that carries a failed exec's result to the parent.
class ExecResultPipe
{
  public:
    ExecResultPipe() noexcept
    {
        if (pipe2(fds_, O_CLOEXEC) != 0)
            fds_[0] = fds_[1] = -1;
    }
    ExecResultPipe(const ExecResultPipe&) = delete;
    ExecResultPipe& operator=(const ExecResultPipe&) = delete;
    ~ExecResultPipe()
    {
        closeWriteEnd();
        if (fds_[0] >= 0)
            close(fds_[0]);
    }

    bool valid() const noexcept { return fds_[0] >= 0; }
    int writeEnd() const noexcept { return fds_[1]; }

    void closeWriteEnd() noexcept
    {
        if (fds_[1] >= 0)
            close(fds_[1]);
        fds_[1] = -1;
    }

    // Blocks until the child has exec'd (end of file) or reported a failed
    // exec; gives the exec result in the second case.
    std::optional<int> awaitExec() const noexcept
    {
        int result = 0;
        ssize_t got = 0;
        do
            got = read(fds_[0], &result, sizeof result);
        while (got < 0 && errno == EINTR);
        if (got != static_cast<ssize_t>(sizeof result))
            return std::nullopt;
        return result;
    }

  private:
    int fds_[2];
};

// Runs in the child: async-signal-safe calls only (see above).
[[noreturn]] void becomeProgram(const ChildRequest& request, int resultFd)
{
    for (int sig = 0; sig <= kLastSignal; ++sig)
        std::signal(sig, SIG_DFL);
    if (request.stdinFd)
    {
        // Closed first: given the caller's own standard input, the
        // duplication then fails and the program starts with none.
        close(STDIN_FILENO);
        dup2(*request.stdinFd, STDIN_FILENO);
    }
    const int result = execve(request.path, request.argv, request.environment);
    if (write(resultFd, &result, sizeof result) < 0)
    {
        // Nobody left to tell; the exit status still says it.
    }
    _exit(-1);
}

void logStart(const ChildRequest& request)
{
    // Entries past the end of a shorter argv are not read; the log shows
    // them as null strings.
    const char* first = nullptr;
    const char* second = nullptr;
    if (request.argv != nullptr && request.argv[0] != nullptr)
    {
        first = request.argv[1];
        if (first != nullptr)
            second = request.argv[2];
    }
    qvm::log(facility::kUser, priority::kDebug, "%s: Performing %s %s %s\n",
             request.caller, request.path, first, second);
}

} // namespace

pid_t startChild(const ChildRequest& request)
{
    ExecResultPipe execResult;
    if (!execResult.valid())
        return -1;
    const pid_t pid = fork();
    if (pid == 0)
        becomeProgram(request, execResult.writeEnd());
    // The parent's copy of the write end must go, or the end of file that
    // marks a successful exec would never come.
    execResult.closeWriteEnd();
    if (pid < 0)
        return -1;

    logStart(request);
    if (const auto failed = execResult.awaitExec())
        qvm::log(facility::kUser, priority::kDebug, "%s: Exec return %d\n",
                 request.caller, *failed);
    qvm::log(facility::kUser, priority::kDebug,
             "%s: Waiting for Child to exit\n", request.caller);
    return pid;
}

} // namespace qvm::process
