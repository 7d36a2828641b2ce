// Syslog numbering used by every log line of the library (QVM_Logger).
#pragma once

namespace qvm::log
{

inline constexpr int kUser = 8;    // LOG_USER: subsystems 1, 2, 5, 6
inline constexpr int kDaemon = 24; // LOG_DAEMON: JSON document utilities

inline constexpr int kErr = 3;
inline constexpr int kWarning = 4;
inline constexpr int kDebug = 7;

// Receives a copy of each line the library writes to syslog, for a tool
// that shows them to its user as well; null (the default): no copy.
using Mirror = void (*)(int priority, const char* text);
void setMirror(Mirror mirror) noexcept;

} // namespace qvm::log
