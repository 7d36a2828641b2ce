#include "common/log.hpp"
#include "qvmclient.h"

#include <cstdarg>

extern "C" void QVM_Logger(int facility, int priority, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    qvm::vlog(facility, priority, format, args);
    va_end(args);
}
