#include "smbios/decode/field_emit.hpp"

#include <cstdio>

namespace qvm::decode
{

void appendFlag(const char* key, bool set, FieldList* list)
{
    AddJSONString(set ? kTrue : "False", key, list);
}

void appendNotice(const char* text, FieldList* list)
{
    AddJSONString(text, "Notice", list);
}

void appendReservedBitNotice(unsigned bit, FieldList* list)
{
    char text[40];
    std::snprintf(text, sizeof text, "Error, reserved BIT %u must be zero",
                  bit);
    appendNotice(text, list);
}

void appendFirstReservedBit(std::initializer_list<uint8_t> order,
                            uint64_t value, FieldList* list)
{
    for (const uint8_t bit : order)
    {
        if ((value >> bit & 1U) != 0)
        {
            appendReservedBitNotice(bit, list);
            return;
        }
    }
}

void appendSetBits(std::span<const BitField> fields, uint64_t bits,
                   FieldList* list)
{
    for (const BitField& field : fields)
    {
        if ((bits >> field.bit & 1U) == 0)
            continue;
        if (field.text != nullptr)
            AddJSONString(field.text, field.key, list);
        else
            appendInteger(field.key, field.bit, list);
    }
}

} // namespace qvm::decode
