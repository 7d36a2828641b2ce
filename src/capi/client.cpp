// The client's logging and status functions of the C interface.
#include "client/manager_call.hpp"
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

extern "C" int32_t QVM_rtn_decode(int64_t status)
{
    qvm::logManagerStatus(status);
    return QVM_RC_SUCCESS;
}
