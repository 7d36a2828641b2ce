#include "common/log.hpp"

#include <cstdio>
#include <syslog.h>

namespace qvm
{
namespace
{
LogMirror mirror = nullptr;
} // namespace

void setLogMirror(LogMirror to) noexcept
{
    mirror = to;
}

// Each line opens and closes the log, so a caller's own openlog settings
// are never inherited and nothing stays open between calls. A line whose
// priority the process's log mask drops would be dropped by vsyslog after
// the open anyway: it returns before anything is formatted or opened, so
// that trace lines cost a daemon that masks them nothing.
void vlog(int facility, int priority, const char* format, va_list args) noexcept
{
    if ((setlogmask(0) & LOG_MASK(LOG_PRI(priority))) == 0)
        return;
    openlog(nullptr, 0, facility);
    if (mirror != nullptr)
    {
        va_list copy;
        va_copy(copy, args);
        char text[1024];
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        mirror(LOG_PRI(priority), text);
    }
    vsyslog(priority, format, args);
    closelog();
}

void log(int facility, int priority, const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    vlog(facility, priority, format, args);
    va_end(args);
}

} // namespace qvm
