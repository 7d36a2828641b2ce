#include "smbios/decode/field_emit.hpp"

#include <cstdio>

namespace qvm::decode
{

void appendFlag(const char* key, bool set, FieldSink& out)
{
    out.flag(key, set);
}

void appendNotice(const char* text, FieldSink& out)
{
    out.text("Notice", text);
}

void appendReservedBitNotice(unsigned bit, FieldSink& out)
{
    char text[40];
    std::snprintf(text, sizeof text, "Error, reserved BIT %u must be zero",
                  bit);
    appendNotice(text, out);
}

void appendFirstReservedBit(std::initializer_list<uint8_t> order,
                            uint64_t value, FieldSink& out)
{
    for (const uint8_t bit : order)
    {
        if ((value >> bit & 1U) != 0)
        {
            appendReservedBitNotice(bit, out);
            return;
        }
    }
}

void appendSetBits(std::span<const BitField> fields, uint64_t bits,
                   FieldSink& out)
{
    for (const BitField& field : fields)
    {
        if ((bits >> field.bit & 1U) == 0)
            continue;
        switch (field.shape)
        {
            case BitField::Shape::flag:
                out.flag(field.key, true);
                break;
            case BitField::Shape::text:
                out.text(field.key, field.text);
                break;
            case BitField::Shape::number:
                appendInteger(field.key, field.bit, out);
                break;
        }
    }
}

} // namespace qvm::decode
