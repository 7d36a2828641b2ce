// The text form of a ticket: part1_part2_part3.
#include "ticket_text.hpp"

#include <cstring>

namespace qvm
{
namespace
{

struct Part
{
    TicketTextFault missing; // no underscore ends it
    TicketTextFault empty;
    TicketTextFault tooLong;
    std::size_t max;
};

// The two parts that an underscore ends, in order.
constexpr Part kEndedParts[] = {
    {TicketTextFault::noFirstUnderscore, TicketTextFault::firstPartEmpty,
     TicketTextFault::firstPartTooLong, kTicketFirstPartMax},
    {TicketTextFault::noSecondUnderscore, TicketTextFault::secondPartEmpty,
     TicketTextFault::secondPartTooLong, kTicketSecondPartMax},
};

// Checks the part that starts at text and ends at the next underscore;
// on success text moves past that underscore.
TicketTextCheck takePart(const char*& text, const Part& part)
{
    const char* end = std::strchr(text, '_');
    if (end == nullptr)
        return {part.missing, 0};
    const auto length = static_cast<std::size_t>(end - text);
    if (length == 0)
        return {part.empty, 0};
    if (length > part.max)
        return {part.tooLong, length};
    text = end + 1;
    return {TicketTextFault::none, length};
}

} // namespace

TicketTextCheck checkTicketText(const char* ticket) noexcept
{
    for (const Part& part : kEndedParts)
        if (const TicketTextCheck c = takePart(ticket, part);
            c.fault != TicketTextFault::none)
            return c;
    // The third part runs to the end and may hold underscores.
    const std::size_t length = std::strlen(ticket);
    if (length < kTicketThirdPartMin)
        return {TicketTextFault::thirdPartTooShort, length};
    if (length > kTicketThirdPartMax)
        return {TicketTextFault::thirdPartTooLong, length};
    return {TicketTextFault::none, 0};
}

} // namespace qvm
