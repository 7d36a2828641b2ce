// The text form of a ticket, and what is wrong with a text that does not
// have it.
#pragma once

#include <cstddef>

namespace qvm
{

// The first fault found, reading the text from its start.
enum class TicketTextFault
{
    none,
    noFirstUnderscore,  // the text holds no underscore
    firstPartEmpty,     // it begins with one
    firstPartTooLong,   // more than 9 characters before the first
    noSecondUnderscore, // none after the first
    secondPartEmpty,    // two underscores in a row
    secondPartTooLong,  // more than 17 characters between the two
    thirdPartTooShort,  // fewer than 32 characters after the second
    thirdPartTooLong,   // more than 64 characters after the second
};

// The limits of each part's length, in characters.
inline constexpr std::size_t kTicketFirstPartMax = 9;
inline constexpr std::size_t kTicketSecondPartMax = 17;
inline constexpr std::size_t kTicketThirdPartMin = 32;
inline constexpr std::size_t kTicketThirdPartMax = 64;

// Where the text breaks the form: the fault and the length of the part it
// concerns (0 when it concerns none). ticket is not null.
struct TicketTextCheck
{
    TicketTextFault fault;
    std::size_t length;
};
TicketTextCheck checkTicketText(const char* ticket) noexcept;

} // namespace qvm
