#include "qvmclient.h"

#include <cstdarg>
#include <syslog.h>

// Each message opens and closes the log, so a caller's own openlog settings
// are never inherited and nothing stays open between calls.
extern "C" void QVM_Logger(int facility, int priority, const char* format, ...)
{
    openlog(nullptr, 0, facility);
    va_list args;
    va_start(args, format);
    vsyslog(priority, format, args);
    va_end(args);
    closelog();
}
