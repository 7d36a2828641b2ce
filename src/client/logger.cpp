#include "common/log.hpp"
#include "qvmclient.h"

#include <cstdarg>
#include <cstdio>
#include <syslog.h>

namespace
{
qvm::log::Mirror mirror = nullptr;
} // namespace

void qvm::log::setMirror(Mirror to) noexcept
{
    mirror = to;
}

// Each message opens and closes the log, so a caller's own openlog settings
// are never inherited and nothing stays open between calls. A message whose
// priority the process's log mask drops would be dropped by vsyslog after
// the open anyway: it returns before anything is formatted or opened, so
// that trace lines cost a daemon that masks them nothing.
extern "C" void QVM_Logger(int facility, int priority, const char* format, ...)
{
    if ((setlogmask(0) & LOG_MASK(LOG_PRI(priority))) == 0)
        return;
    openlog(nullptr, 0, facility);
    va_list args;
    va_start(args, format);
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
    va_end(args);
    closelog();
}
