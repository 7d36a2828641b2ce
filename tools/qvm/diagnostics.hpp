// What the library said while a command ran, for the causes of a failure.
//
// The library writes its diagnostics to syslog; it hands qvm a copy of
// each line as well. Failure and warning lines are kept and shown with a
// failure; with --verbose every line is shown as it is written.
#pragma once

#include <string>

namespace qvmcli
{

// Starts taking the library's lines; called before any command runs.
void setVerbose(bool on);

// The failure and warning lines that the library logged, on stderr.
void printCauses();

} // namespace qvmcli
