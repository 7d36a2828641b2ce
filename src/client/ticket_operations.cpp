#include "client/ticket_operations.hpp"

#include <cstring>

namespace qvm
{
namespace
{

constexpr uint32_t kTicketVersion = 1;
constexpr uint32_t kTicketMagic = 0x6E496B74; // "tkIn" in memory
constexpr uint8_t kAnyValue = 255;

constexpr char kDefaultName1[] = "QVM";
constexpr char kDefaultName2[] = "Library";

bool upToOrAny(uint8_t value, uint8_t max)
{
    return value <= max || value == kAnyValue;
}

bool hasText3(const TicketRequestRecord& request, char***)
{
    return request.text3[0] != '\0';
}

bool hasList(const TicketRequestRecord&, char*** list)
{
    return list != nullptr;
}

bool paramsInRange(const TicketRequestRecord& request, char***)
{
    return upToOrAny(request.param2, 100) && upToOrAny(request.param3, 4) &&
           upToOrAny(request.param4, 3);
}

constexpr TicketOperation kOperations[] = {
    {1, 1, nullptr, true, false},   {1, 2, hasText3, false, false},
    {1, 3, hasList, false, true},   {2, 0, paramsInRange, false, false},
    {2, 1, nullptr, false, false},  {2, 2, nullptr, false, false},
    {3, 0, hasText3, false, false}, {3, 1, nullptr, false, false},
    {3, 2, hasText3, false, false},
};

// Copies a record's text field up to its terminator, never beyond the field.
// An empty field takes fallback when one is given (defaults are shorter than
// the fields they stand for).
template <std::size_t N, std::size_t M>
void copyField(char (&dst)[N], const char (&src)[M],
               const char* fallback = nullptr) noexcept
{
    static_assert(N > M, "room for the field and its terminator");
    const char* from = src[0] == '\0' && fallback != nullptr ? fallback : src;
    const std::size_t length = strnlen(from, M);
    std::memcpy(dst, from, length);
    dst[length] = '\0';
}

} // namespace

const TicketOperation* admitTicket(const TicketRequestRecord& request,
                                   char*** list) noexcept
{
    if (request.version != kTicketVersion || request.magic != kTicketMagic)
        return nullptr;
    for (const auto& row : kOperations)
        if (row.op == request.op && row.sub == request.sub)
            return row.requirement == nullptr || row.requirement(request, list)
                       ? &row
                       : nullptr;
    return nullptr;
}

TicketTexts ticketTexts(const TicketOperation& operation,
                        const TicketRequestRecord& request) noexcept
{
    TicketTexts texts{};
    if (operation.sendsNames)
    {
        copyField(texts.first, request.text1, kDefaultName1);
        copyField(texts.second, request.text2, kDefaultName2);
    }
    copyField(texts.third, request.text3);
    return texts;
}

} // namespace qvm
