// The C interface's requests to the manager, its signal subscription and
// its event-log records: argument checks over the client core.
#include "client/event_log.hpp"
#include "client/manager_call.hpp"
#include "client/manager_requests.hpp"
#include "client/signal_subscription.hpp"
#include "qvmclient.h"

#include <cstdarg>

extern "C" int32_t QVM_PackageRequest(const char* ticket, uint16_t number1,
                                      uint16_t number2)
{
    if (ticket == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::packageRequest(ticket, number1, number2);
}

extern "C" int32_t QVM_SaveRequest(const char* ticket, const char* text,
                                   uint64_t value, const SaveRecord* record)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::saveRequest(ticket, text, value, *record);
}

extern "C" int32_t QVM_CollectRequest(const char* ticket, char** text_out,
                                      const CollectRecord* record,
                                      uint16_t number1, uint16_t number2,
                                      uint64_t* value_out)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::collectRequest(ticket, *record, number1, number2, text_out,
                               value_out);
}

extern "C" int32_t QVM_ExportRequest(const char* ticket, char** text_out,
                                     const CollectRecord* record,
                                     uint16_t number, uint64_t* value_out)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::exportRequest(ticket, *record, number, text_out, value_out);
}

extern "C" int32_t QVM_GetVersionRequest(char** version)
{
    if (version == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::versionRequest(version);
}

extern "C" int32_t QVM_TicketRequest(const TicketRequestRecord* request,
                                     TicketReplyRecord* reply, char*** list)
{
    if (request == nullptr || reply == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::ticketRequest(*request, *reply, list);
}

extern "C" sd_bus* QVM_ConnectToBus(void)
{
    return qvm::defaultBus().release();
}

extern "C" int32_t QVM_ClientSignalInit(const char* name,
                                        sd_bus_message_handler_t handler,
                                        sd_bus* bus)
{
    if (name == nullptr || bus == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::subscribeManagerSignals(bus, name, handler) ? QVM_RC_SUCCESS
                                                            : QVM_RC_FAILED;
}

// The loop ends only when the bus fails.
extern "C" int32_t QVM_ClientSignalWait(sd_bus* bus)
{
    qvm::followBus(bus);
    return QVM_RC_FAILED;
}

// The variadic arguments are appended as types describes them.
extern "C" int32_t QVM_AddEventLog(const char* msgid, const char* types, ...)
{
    va_list args;
    va_start(args, types);
    const int32_t result =
        qvm::addEventLog(msgid, types,
                         [&](sd_bus_message* m)
                         { return sd_bus_message_appendv(m, types, args); });
    va_end(args);
    return result;
}
