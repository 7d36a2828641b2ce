// Linked into every fuzz target: the library's log lines (a hostile input
// can cause thousands) go nowhere instead of into the system log.
#include <cstdarg>

extern "C" void openlog(const char*, int, int) {}
extern "C" void closelog() {}
extern "C" void vsyslog(int, const char*, va_list) {}
extern "C" void syslog(int, const char*, ...) {}
// Fortified builds of the C library route syslog calls here instead.
extern "C" void __vsyslog_chk(int, int, const char*, va_list) {}
extern "C" void __syslog_chk(int, int, const char*, ...) {}
