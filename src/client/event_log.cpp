// Records filed with the BMC's event-logging service.
#include "client/event_log.hpp"

#include "client/manager_call.hpp"
#include "common/handles.hpp"
#include "common/log.hpp"
#include "qvmclient.h"

#include <cstring>

namespace qvm
{
namespace
{

using qvm::facility::kUser;
using qvm::priority::kDebug;
using qvm::priority::kErr;
using qvm::priority::kWarning;

constexpr char kEventLogService[] = "xyz.openbmc_project.EventLogging";
constexpr char kEventLogPath[] = "/xyz/openbmc_project/EventLogging";
constexpr char kEventLogInterface[] = "xyz.openbmc_project.EventLogging";

// Every record carries this byte and origin in front of the caller's data.
constexpr uint8_t kRecordByte = 4;
constexpr char kOrigin[] = "OBX.Embedded.1-1";

void logError(int priority, const char* format, const char* msgid, int r)
{
    qvm::log(kUser, priority, format, msgid, std::strerror(-r));
}

// The record's arguments: the fixed header and msgid, then either an empty
// string array or the caller's own arguments as types describes them.
bool appendRecord(sd_bus_message* m, const char* msgid, const char* types,
                  const EventArguments& arguments)
{
    int r = 0;
    if (types[0] == '\0')
    {
        r = sd_bus_message_append(m, "yssas", kRecordByte, kOrigin, msgid, 0);
        if (r < 0)
            logError(kErr, "Failed to append header for %s no message: %s\n",
                     msgid, r);
        return r >= 0;
    }
    r = sd_bus_message_append(m, "yss", kRecordByte, kOrigin, msgid);
    if (r < 0)
    {
        logError(kWarning, "Failed to append header for %s message: %s\n",
                 msgid, r);
        return false;
    }
    r = arguments(m);
    if (r < 0)
        logError(kWarning,
                 "Failed to append header for %s bigger message: %s\n", msgid,
                 r);
    return r >= 0;
}

// The call itself, once the message is built; the call's result or -1.
int32_t send(sd_bus* bus, sd_bus_message* m, const char* msgid)
{
    qvm::log(kUser, kDebug, "Sending %s\n", msgid);
    qvm::BusError error;
    sd_bus_message* raw = nullptr;
    const int r = sd_bus_call(bus, m, qvm::kWaitForever, error.get(), &raw);
    const qvm::MessagePtr reply(raw);
    if (r < 0)
    {
        logError(kWarning, "Send failed for %s message: %s\n", msgid, r);
        return QVM_RC_FAILED;
    }
    qvm::log(kUser, kDebug, "Send did not fail for %s return: %d\n", msgid, r);
    return r;
}

} // namespace

int32_t addEventLog(const char* msgid, const char* types,
                    const EventArguments& arguments)
{
    qvm::log(kUser, kDebug, "EVENTLOG record\n");
    if (types == nullptr || msgid == nullptr)
    {
        qvm::log(kUser, kErr, "types or msgid are NULL pointers\n");
        return QVM_RC_INVALID_REQUEST;
    }
    const qvm::BusPtr bus = qvm::defaultBus();
    if (!bus)
        return QVM_RC_FAILED;
    sd_bus_message* raw = nullptr;
    const int r = sd_bus_message_new_method_call(
        bus.get(), &raw, kEventLogService, kEventLogPath, kEventLogInterface,
        "AddEventLog");
    const qvm::MessagePtr message(raw);
    if (r < 0)
    {
        qvm::log(kUser, kErr, "Failed to  create new message: %s\n",
                 std::strerror(-r));
        return QVM_RC_FAILED;
    }
    qvm::log(kUser, kDebug, "types %s\n", types);

    const bool appended = appendRecord(message.get(), msgid, types, arguments);
    const int32_t result =
        appended ? send(bus.get(), message.get(), msgid) : QVM_RC_FAILED;
    qvm::log(kUser, kDebug, "EVENTLOG record done\n");
    return result;
}

} // namespace qvm
