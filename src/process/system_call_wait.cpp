#include "common/log.hpp"
#include "process/child_launch.hpp"
#include "process/process_log.hpp"
#include "process/wait_status.hpp"
#include "qvmclient.h"

#include <cstdio>
#include <sys/wait.h>

namespace qvm::process
{

// Starts the program and blocks until it ends. Success only when it exited
// by itself with status 0. An interrupted waitpid is not retried: the call
// then fails and the child is left to whoever reaps it.
int32_t runToEnd(const ChildRequest& request)
{
    const pid_t pid = startChild(request);
    if (pid < 0)
        return reportFailure(request.caller);

    int status = 0;
    const pid_t waited = waitpid(pid, &status, 0);
    qvm::log(facility::kUser, priority::kDebug, "%s: PID %d - STATUS %x\n",
             request.caller, waited, static_cast<unsigned>(status));
    if (waited == -1 || endingSignal(status) != 0 || exitStatus(status) != 0)
        return reportFailure(request.caller);
    return QVM_RC_SUCCESS;
}

} // namespace qvm::process
