// What the library said while a command ran, for the causes of a failure.
//
// The library writes its diagnostics to syslog only, and keeps the error
// record of a failed bus call to itself (logging its message at most). The
// tool stands between the library and both: its own definitions of the
// syslog functions and of sd_bus_call come first in symbol lookup, as the
// tests' log capture does. Each line still reaches the system log and each
// call still goes to sd-bus; the tool keeps a copy of what failed.
#pragma once

#include <string>

namespace qvmcli
{

// With --verbose every library log line is shown on stderr as it is
// written.
void setVerbose(bool on);

// The last bus call that failed: "Get of xyz.openbmc_project.invd", and
// the error's name and message (or the system's reason).
struct BusFailure
{
    std::string call;
    std::string name;
    std::string message;
};
const BusFailure* lastBusFailure();

// The last failed bus call, and the failure and warning lines that the
// library logged, on stderr.
void printCauses();

} // namespace qvmcli
