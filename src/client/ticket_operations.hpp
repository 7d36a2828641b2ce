// The ticket operations the manager accepts, and what each one requires of
// its request record before it may go on the wire.
#pragma once

#include "qvmclient.h"

#include <cstddef>

namespace qvm
{

struct TicketOperation
{
    uint8_t op;
    uint8_t sub;
    // Null when the row asks nothing beyond a valid header.
    bool (*requirement)(const TicketRequestRecord& request, char*** list);
    // The caller's two names (or the library's defaults) go first on the
    // wire; every other operation sends two empty texts there.
    bool sendsNames;
    // The reply's strings are handed to the caller; for every other
    // operation they are read and dropped.
    bool handsOutList;
};

// The row for a request with a valid header whose requirement holds, or
// null when the request must be refused.
const TicketOperation* admitTicket(const TicketRequestRecord& request,
                                   char*** list) noexcept;

// The three texts of the wire struct, in order. Each has room for its
// record field and a terminator, so a field the caller filled to the last
// byte is sent whole and never read beyond.
struct TicketTexts
{
    char first[sizeof(TicketRequestRecord::text1) + 1];
    char second[sizeof(TicketRequestRecord::text2) + 1];
    char third[sizeof(TicketRequestRecord::text3) + 1];
};

TicketTexts ticketTexts(const TicketOperation& operation,
                        const TicketRequestRecord& request) noexcept;

} // namespace qvm
