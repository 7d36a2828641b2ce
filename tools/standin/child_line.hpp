// Starting a helper process that announces itself with one line on its
// standard output (dbus-daemon its address, the stand-in its bus).
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace standin
{

struct Child
{
    pid_t pid = -1;        // -1 when it could not be started
    std::string firstLine; // empty when it ended without a line
};

// Runs program (looked up in PATH unless it holds a slash) with args. The
// child gets SIGTERM when the thread that started it ends, so nothing
// outlives a crashed parent; with quiet, its standard error is discarded.
Child startChild(const std::string& program,
                 const std::vector<std::string>& args, bool quiet);

} // namespace standin
