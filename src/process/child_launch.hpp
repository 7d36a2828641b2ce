// Starting one helper program as a child process: the part that the
// blocking, the time-limited and the stdin-fed calls have in common.
#pragma once

#include <cstdint>
#include <optional>
#include <sys/types.h>

namespace qvm::process
{

struct ChildRequest
{
    // The exported function's name, the first field of every log line.
    const char* caller;
    // The program, by path (no search along PATH), and its argument list,
    // argv[0] included, handed over unchanged.
    const char* path;
    char* const* argv;
    // The program's whole environment (the caller's own is never passed
    // on), read when the child starts.
    char* const* environment;
    // A descriptor to become the child's standard input; without one the
    // child inherits the caller's.
    std::optional<int> stdinFd = std::nullopt;
};

// Forks, resets every signal disposition in the child to its default and
// executes the program there with the request's environment. In the parent it
// logs the start, waits until the child has either become the program or
// failed to (logging the exec result then) and announces the wait. Returns
// the child's process id, or -1 when no child could be started (nothing is
// logged for that; the caller reports it).
pid_t startChild(const ChildRequest& request);

// Starts the program and blocks until it ends: success only when it exited
// by itself with status 0.
int32_t runToEnd(const ChildRequest& request);

// Starts the program and waits for it at most seconds whole seconds (a
// limit of 0 or less never runs out), killing it at the limit.
int32_t runWithin(const ChildRequest& request, int32_t seconds);

} // namespace qvm::process
