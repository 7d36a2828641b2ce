// Records every syslog line the library writes, in place of the system log.
// The test executables define openlog/vsyslog/closelog themselves, which
// interposes them ahead of the C library for the code under test.
#pragma once

#include <string>
#include <vector>

namespace qvmtest
{

struct LogLine
{
    int facility;
    int priority;
    std::string text;

    bool operator==(const LogLine&) const = default;
};

class LogCapture
{
  public:
    // Starts with an empty record; lines written before are dropped.
    LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    const std::vector<LogLine>& lines() const;
    // Each line as a transcript shows it: log FACILITY PRIORITY "text".
    std::vector<std::string> transcriptLines() const;
    void clear();
};

} // namespace qvmtest

// gtest printing of a LogLine in failure messages.
#include <ostream>
inline std::ostream& operator<<(std::ostream& os, const qvmtest::LogLine& l)
{
    return os << "{" << l.facility << ", " << l.priority << ", \"" << l.text
              << "\"}";
}
