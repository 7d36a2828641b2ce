#include "smbios/decode/value_table.hpp"

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

void appendLookup(const char* key, Table table, uint32_t value, FieldSink& out)
{
    out.text(key, findText(table, static_cast<uint8_t>(value)));
}

void appendBits(Table table, uint32_t bits, FieldSink& out)
{
    for (const ValueTextEntry& row : table)
    {
        const uint32_t bit = row.code & 0xFF;
        if (row.text == nullptr || bit >= 32 || (bits >> bit & 1U) == 0)
            continue;
        out.bitWeight(row.text, bits & 1U << bit);
    }
}

} // namespace qvm::decode
