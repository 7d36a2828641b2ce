#include "fields/field_list.hpp"
#include "qvmclient.h"

namespace
{

// Signed decimal, the whole number, as "%lld" writes it; returns where the
// digits start inside buffer (they end at its end).
char* decimal(int64_t value, char (&buffer)[24])
{
    char* out = buffer + sizeof buffer;
    // Work in unsigned: the magnitude of INT64_MIN has no signed form.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value)
                                   : static_cast<uint64_t>(value);
    do
    {
        *--out = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--out = '-';
    return out;
}

} // namespace

extern "C" void AddJSONString(const char* value, const char* key,
                              FieldList* list)
{
    if (value == nullptr)
        return;
    qvm::appendJoined(list, 's', key, value);
}

extern "C" void AddJSONintValue(int64_t value, const char* key, FieldList* list)
{
    char buffer[24];
    const char* digits = decimal(value, buffer);
    qvm::appendJoined(
        list, 'd', key,
        std::string_view(
            digits, static_cast<std::size_t>(buffer + sizeof buffer - digits)));
}
