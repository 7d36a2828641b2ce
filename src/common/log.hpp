// The library's log lines: syslog numbering and the one function that
// writes them (QVM_Logger is its exported face).
#pragma once

#include <cstdarg>

namespace qvm
{

namespace facility
{
inline constexpr int kUser = 8;    // LOG_USER: subsystems 1, 2, 5, 6
inline constexpr int kDaemon = 24; // LOG_DAEMON: JSON document utilities
} // namespace facility

namespace priority
{
inline constexpr int kErr = 3;
inline constexpr int kWarning = 4;
inline constexpr int kDebug = 7;
} // namespace priority

// Receives a copy of each line the library writes to syslog whose priority
// is upTo or more urgent, for a tool that shows them to its user as well;
// null (the default): no copy. Lines the mirror does not take are not
// formatted for it.
using LogMirror = void (*)(int priority, const char* text);
void setLogMirror(LogMirror mirror, int upTo = priority::kDebug) noexcept;

// For a program that makes no syslog settings of its own (qvm): instead of
// opening and closing the log around each line, lines go out through one
// connection kept for the whole run, and, when nothing listens on the
// system log's socket at the call, not at all (syslog would drop them
// there, one failed connection each). Each line keeps its text, facility
// and priority.
void keepLogConnection() noexcept;

// Writes one line with the given facility and priority; a line whose
// priority the process's log mask drops costs nothing.
void vlog(int facility, int priority, const char* format,
          va_list args) noexcept;

[[gnu::format(printf, 3, 4)]] void log(int facility, int priority,
                                       const char* format, ...) noexcept;

} // namespace qvm
