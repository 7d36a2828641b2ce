#include "common/log.hpp"
#include "process/child_launch.hpp"
#include "process/process_log.hpp"
#include "process/wait_status.hpp"
#include "qvmclient.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <sys/wait.h>
#include <unistd.h>

namespace qvm::process
{

namespace
{

// One time-limited wait for one child.
//
// The child is polled once before each one-second sleep and not after the
// last one, so the limit is `seconds` whole sleeps and a child that ends in
// the last second counts as timed out. The count is only compared with 0
// after a decrement: a limit of 0 or less never runs out (the count is 64
// bits wide so that it cannot wrap within any real wait).
//
// At the limit the status word was never filled and reads as a clean exit,
// so the call succeeds after killing the child; it returns at once and does
// not wait for the child's end.
class TimedWait
{
  public:
    TimedWait(const char* caller, pid_t pid, int32_t seconds)
        : caller_(caller), pid_(pid), remaining_(seconds)
    {
    }

    int32_t run()
    {
        switch (poll())
        {
            case Outcome::Success:
                stopChild();
                qvm::log(facility::kUser, priority::kDebug,
                         "%s: Returning SUCCESS\n", caller_);
                return QVM_RC_SUCCESS;
            case Outcome::Failure:
                return reportFailure(caller_);
            case Outcome::Kill:
                break;
        }
        qvm::log(facility::kUser, priority::kDebug, "%s: Killing PID %d\n",
                 caller_, pid_);
        stopChild();
        return reportFailure(caller_);
    }

  private:
    enum class Outcome
    {
        Success,
        Failure,
        Kill,
    };

    Outcome poll()
    {
        for (;;)
        {
            const pid_t waited = waitpid(pid_, &status_, WNOHANG);
            if (waited == 0)
            {
                sleep(1);
                if (--remaining_ != 0)
                    continue;
            }
            qvm::log(facility::kUser, priority::kDebug,
                     "%s: PID %d - STATUS %x -EXIT STATUS %d\n", caller_,
                     waited, static_cast<unsigned>(status_),
                     exitStatus(status_));
            if (waited == pid_)
                reaped_ = true;
            else if (waited == -1)
                return afterFailedWait();
            return judge();
        }
    }

    Outcome afterFailedWait()
    {
        // ECHILD: someone else reaped the child, and its id may already
        // name another process.
        if (errno == ECHILD)
            reaped_ = true;
        if (remaining_ == 0 || endingSignal(status_) != 0)
            return Outcome::Kill;
        return Outcome::Failure;
    }

    Outcome judge() const
    {
        if (endingSignal(status_) != 0)
            return Outcome::Kill;
        if (exitStatus(status_) == 0)
            return Outcome::Success;
        return remaining_ != 0 ? Outcome::Failure : Outcome::Kill;
    }

    // SIGKILL only while the id is still this child's: once reaped it may
    // belong to another process. An unreaped child, even one that has
    // already ended, keeps its id.
    void stopChild() const
    {
        if (!reaped_)
            kill(pid_, SIGKILL);
    }

    const char* caller_;
    pid_t pid_;
    int64_t remaining_;
    int status_ = 0;
    bool reaped_ = false;
};

} // namespace

int32_t runWithin(const ChildRequest& request, int32_t seconds)
{
    const pid_t pid = startChild(request);
    if (pid < 0)
        return reportFailure(request.caller);
    return TimedWait(request.caller, pid, seconds).run();
}

} // namespace qvm::process
