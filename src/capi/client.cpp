// The client's logging, status and ticket-text functions of the C interface.
#include "client/manager_call.hpp"
#include "client/status.hpp"
#include "client/ticket_text.hpp"
#include "common/log.hpp"
#include "common/text.hpp"
#include "qvmclient.h"

#include <cstdarg>
#include <cstdlib>

namespace
{

// The caller frees the version text; its buffer has room to spare.
constexpr std::size_t kVersionBufferSize = 12;

} // namespace

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

extern "C" int32_t QVM_GetLibraryVersion(char** version)
{
    if (version == nullptr)
        return QVM_RC_INVALID_REQUEST;
    auto* buffer = static_cast<char*>(std::calloc(1, kVersionBufferSize));
    *version = buffer;
    if (buffer == nullptr)
        return QVM_RC_NO_RESOURCES;
    qvm::boundedCopy(buffer, qvm::kLibraryVersion, sizeof qvm::kLibraryVersion);
    return QVM_RC_SUCCESS;
}

extern "C" int32_t QVM_StrErr(int32_t code, char** text)
{
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    *text = qvm::heapCopy(qvm::statusText(code));
    return *text == nullptr ? QVM_RC_NO_RESOURCES : QVM_RC_SUCCESS;
}

extern "C" int32_t QVM_valid_ticket_check(const char* ticket)
{
    if (ticket == nullptr)
        return QVM_RC_INVALID_TICKET;
    return qvm::checkTicketText(ticket).fault == qvm::TicketTextFault::none
               ? QVM_RC_SUCCESS
               : QVM_RC_INVALID_TICKET;
}
