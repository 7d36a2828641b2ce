#include "smbios/decode/value_table.hpp"

#include "fields/field_list.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qvm::decode
{
namespace
{

// Only the low 16 bits of a code word take part: byte 0 is the value (or the
// first of a range), byte 1 the last value of a range or 0.
bool covers(uint32_t codeWord, uint8_t value)
{
    const uint32_t code = codeWord & 0xFFFF;
    const uint32_t first = code & 0xFF;
    const uint32_t last = code >> 8;
    if (first < last)
        return first <= value && value <= last;
    return code == value;
}

} // namespace

const char* findText(Table table, uint8_t value) noexcept
{
    for (const ValueTextEntry& row : table)
    {
        if (covers(row.code, value))
            return row.text;
    }
    return nullptr;
}

void appendLookup(const char* key, Table table, uint32_t value, FieldList* list)
{
    AddJSONString(findText(table, static_cast<uint8_t>(value)), key, list);
}

} // namespace qvm::decode

extern "C" uint32_t QueryTable(const ValueTextEntry* table, uint64_t count,
                               uint8_t value, const char** text_out)
{
    if (table == nullptr || text_out == nullptr)
        return QVM_RC_NOT_FOUND;
    // No table holds more entries than the address space; a larger count
    // on a 32-bit target is cut to what can be addressed, not wrapped.
    const auto entries = static_cast<std::size_t>(
        std::min<uint64_t>(count, std::numeric_limits<std::size_t>::max()));
    const char* text = qvm::decode::findText({table, entries}, value);
    if (text == nullptr)
        return QVM_RC_NOT_FOUND;
    *text_out = text;
    return value;
}

extern "C" void AddBitsInfo(const ValueTextEntry* table, uint32_t count,
                            uint32_t bits, FieldList* list)
{
    if (table == nullptr || list == nullptr)
        return;
    for (const ValueTextEntry& row : qvm::decode::Table{table, count})
    {
        const uint32_t bit = row.code & 0xFF;
        if (row.text == nullptr || bit >= 32 || (bits >> bit & 1U) == 0)
            continue;
        const uint32_t weight = bits & 1U << bit;
        // Tag, two colons, eight hex digits and the zero fit with room to
        // spare in the text's length plus 24.
        const std::size_t size = std::strlen(row.text) + 24;
        qvm::appendField(list, size, "x:%s:%x", row.text, weight);
    }
}
