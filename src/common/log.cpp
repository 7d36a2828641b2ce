#include "common/log.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#ifndef _PATH_LOG
#define _PATH_LOG "/dev/log"
#endif

namespace qvm
{
namespace
{

LogMirror mirror = nullptr;
int mirrorUpTo = priority::kDebug;

enum class Connection
{
    PerLine, // open and close around each line
    Kept,    // one connection for the run
    Nobody,  // nothing listens: lines go only to the mirror
};
Connection connection = Connection::PerLine;

// Whether the system log's socket takes a connection, tried the way the C
// library's syslog tries it (datagram first, then stream).
bool logListens() noexcept
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, _PATH_LOG, sizeof address.sun_path - 1);
    for (const int type : {SOCK_DGRAM, SOCK_STREAM})
    {
        const int fd = ::socket(AF_UNIX, type | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true; // unknown: leave it to syslog
        const int connected = ::connect(
            fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        const int error = errno;
        ::close(fd);
        if (connected == 0)
            return true;
        if (error != EPROTOTYPE)
            return false;
    }
    return false;
}

} // namespace

void setLogMirror(LogMirror to, int upTo) noexcept
{
    mirror = to;
    mirrorUpTo = upTo;
}

void keepLogConnection() noexcept
{
    connection = logListens() ? Connection::Kept : Connection::Nobody;
}

// Unless the program asked to keep the connection, each line opens and
// closes the log, so a caller's own openlog settings are never inherited
// and nothing stays open between calls. A line whose
// priority the process's log mask drops would be dropped by vsyslog after
// the open anyway: it returns before anything is formatted or opened, so
// that trace lines cost a daemon that masks them nothing.
void vlog(int facility, int priority, const char* format, va_list args) noexcept
{
    if ((setlogmask(0) & LOG_MASK(LOG_PRI(priority))) == 0)
        return;
    if (mirror != nullptr && LOG_PRI(priority) <= mirrorUpTo)
    {
        va_list copy;
        va_copy(copy, args);
        char text[1024];
        std::vsnprintf(text, sizeof text, format, copy);
        va_end(copy);
        mirror(LOG_PRI(priority), text);
    }
    switch (connection)
    {
        case Connection::PerLine:
            openlog(nullptr, 0, facility);
            vsyslog(priority, format, args);
            closelog();
            return;
        case Connection::Kept:
            // The same line: the facility that openlog would have set goes
            // with the priority instead.
            vsyslog((priority & LOG_FACMASK) != 0 ? priority
                                                  : facility | priority,
                    format, args);
            return;
        case Connection::Nobody:
            return;
    }
}

void log(int facility, int priority, const char* format, ...) noexcept
{
    va_list args;
    va_start(args, format);
    vlog(facility, priority, format, args);
    va_end(args);
}

} // namespace qvm
