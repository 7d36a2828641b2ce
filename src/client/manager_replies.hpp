// Reading the manager's replies, apart from the calls that bring them: the
// manager is another process, so each reader takes whatever message comes
// and must cope with any signature and any values in it.
#pragma once

#include "client/ticket_operations.hpp"
#include "common/log.hpp"
#include "qvmclient.h"

#include <cstdint>
#include <systemd/sd-bus.h>

namespace qvm
{

// Logs "Failed to parse response message" for a negative sd-bus result r;
// false then.
bool replyRead(int r);

template <typename... Args>
bool readReply(sd_bus_message* reply, const char* signature, Args... args)
{
    return replyRead(sd_bus_message_read(reply, signature, args...));
}

// Package and Save ("x"): the manager's status.
int32_t readStatusReply(sd_bus_message* reply);

// Collect and Export ("xts"): the manager's status. When both out pointers
// are given they are first reset; for a status 0 and the kind that asks for
// data they receive the reply's number and a heap copy of its text. A reply
// that cannot be read leaves them alone.
int32_t readDataReply(sd_bus_message* reply, uint32_t kind, char** textOut,
                      uint64_t* valueOut);

// GetVersion ("s"): a heap copy of the version text.
int32_t readVersionReply(sd_bus_message* reply, char** version);

// Ticket ("(uuttyyyyyysss)as"): fills record, and for an operation that
// hands out its list stores the reply's strings, last received first,
// through list (which the operation's row requires).
int32_t readTicketReply(sd_bus_message* reply, const TicketOperation& operation,
                        TicketReplyRecord& record, char*** list);

} // namespace qvm
