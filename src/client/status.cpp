// Status codes and manager statuses in words.
#include "client/status.hpp"

#include "client/manager_call.hpp"
#include "common/log.hpp"
#include "qvmclient.h"

namespace
{

// The manager's own wording for the statuses it names; null for the rest.
const char* managerStatusLine(uint64_t status)
{
    switch (status)
    {
        case 0:
            return "Success return\n";
        case 2:
            return "Normal pending return\n";
        case 3:
            return "Invalid parameter used\n";
        case 5:
            return "Memory Allocation error\n";
        case 7:
            return "pacakge operation not started\n";
        case UINT64_MAX:
            return "Invalid parameter used\n";
        default:
            return nullptr;
    }
}

} // namespace

namespace qvm
{

const char* statusText(int32_t code) noexcept
{
    switch (code)
    {
        case QVM_RC_INVALID_TICKET:
            return "Invalid Ticket supplied";
        case QVM_RC_INVALID_REQUEST:
            return "Invalid request";
        case QVM_RC_BUFFER_TOO_SMALL:
            return "Buffer too small";
        case QVM_RC_NO_RESOURCES:
            return "Out of resources";
        case QVM_RC_NOT_FOUND:
            return "Needed component not found";
        case QVM_RC_START_FAILURE:
            return "Background start failure";
        case QVM_RC_TIMEOUT:
            return "Operation timeout";
        case QVM_RC_UNSUPPORTED:
            return "Operation unsupported";
        case QVM_RC_FAILED:
            return "Operation failed";
        default:
            return "Unknown error";
    }
}

void logManagerStatus(int64_t status)
{
    const auto value = static_cast<uint64_t>(status);
    if (const char* line = managerStatusLine(value))
        qvm::log(facility::kUser, priority::kDebug, "%s", line);
    else
        qvm::log(facility::kUser, priority::kDebug,
                 "Not translated return code: %llx\n",
                 static_cast<unsigned long long>(value));
}

} // namespace qvm
