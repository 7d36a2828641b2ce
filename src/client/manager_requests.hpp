// The manager's requests: each makes one call on the calling thread's
// default bus and returns the manager's status as the library's status.
// Every pointer and record given is valid; the C interface checks them.
#pragma once

#include "qvmclient.h"

#include <cstdint>

namespace qvm
{

int32_t packageRequest(const char* ticket, uint16_t number1, uint16_t number2);

// text may be null: an empty text is sent.
int32_t saveRequest(const char* ticket, const char* text, uint64_t value,
                    const SaveRecord& record);

// Collect and Export: textOut and valueOut may be null when the caller
// does not want the reply's text or number.
int32_t collectRequest(const char* ticket, const CollectRecord& record,
                       uint16_t number1, uint16_t number2, char** textOut,
                       uint64_t* valueOut);
int32_t exportRequest(const char* ticket, const CollectRecord& record,
                      uint16_t number, char** textOut, uint64_t* valueOut);

// The manager's version text, a heap copy in *version.
int32_t versionRequest(char** version);

// A ticket request, checked against the operations the manager knows
// before it is sent; *list, when list is not null, receives the reply's
// strings for the operations that return some.
int32_t ticketRequest(const TicketRequestRecord& request,
                      TicketReplyRecord& reply, char*** list);

} // namespace qvm
