// The text form of a ticket: part1_part2_part3.
#include "qvmclient.h"

#include <cstring>

namespace
{

constexpr std::size_t kMaxPart1 = 9;
constexpr std::size_t kMaxPart2 = 17;
constexpr std::size_t kMinPart3 = 32;
constexpr std::size_t kMaxPart3 = 64;

// The next part up to its underscore, 1 to max characters long; null when
// there is no such part. Returns the position after the underscore.
const char* nextPart(const char* text, std::size_t max)
{
    const char* end = std::strchr(text, '_');
    if (end == nullptr || end == text ||
        static_cast<std::size_t>(end - text) > max)
        return nullptr;
    return end + 1;
}

} // namespace

extern "C" int32_t QVM_valid_ticket_check(const char* ticket)
{
    if (ticket == nullptr)
        return QVM_RC_INVALID_TICKET;
    const char* part2 = nextPart(ticket, kMaxPart1);
    const char* part3 = part2 ? nextPart(part2, kMaxPart2) : nullptr;
    if (part3 == nullptr)
        return QVM_RC_INVALID_TICKET;
    const std::size_t length = std::strlen(part3);
    return length >= kMinPart3 && length <= kMaxPart3 ? QVM_RC_SUCCESS
                                                      : QVM_RC_INVALID_TICKET;
}
