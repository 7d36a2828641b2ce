// The field shapes the decoders share, all appended through the emitters:
// integers, flags, notices, per-bit fields and choices among texts.
#pragma once

#include "fields/field_sink.hpp"
#include "smbios/decode/decoders.hpp"

#include <cstdint>
#include <initializer_list>
#include <span>

namespace qvm::decode
{

// A field's raw value; 32-bit and smaller values arrive zero-extended.
inline void appendInteger(const char* key, uint64_t value, FieldSink& out)
{
    out.unsignedInteger(key, value);
}

// "s:<key>:True" or "s:<key>:False".
void appendFlag(const char* key, bool set, FieldSink& out);

// "s:Notice:<text>".
void appendNotice(const char* text, FieldSink& out);

// "s:Notice:Error, reserved BIT <bit> must be zero".
void appendReservedBitNotice(unsigned bit, FieldSink& out);

// The reserved-bit notice of the first bit of order that is set in value;
// only one is reported however many are set.
void appendFirstReservedBit(std::initializer_list<uint8_t> order,
                            uint64_t value, FieldSink& out);

// What one set bit of a characteristics field appends: a text
// ("s:<key>:<text>"), a flag ("s:<key>:True", which the faithful view
// writes as true) or its own number ("d:<key>:<bit>").
struct BitField
{
    enum class Shape : uint8_t
    {
        text,
        flag,
        number,
    };
    uint8_t bit;
    Shape shape;
    const char* key;
    const char* text; // for Shape::text
};

// A capability bit, named by text.
constexpr BitField flagBit(uint8_t bit, const char* text)
{
    return {bit, BitField::Shape::flag, text, nullptr};
}
// A bit reported as "s:<key>:<text>".
constexpr BitField textBit(uint8_t bit, const char* key, const char* text)
{
    return {bit, BitField::Shape::text, key, text};
}
// A bit reported as "s:Notice:<text>".
constexpr BitField noticeBit(uint8_t bit, const char* text)
{
    return textBit(bit, "Notice", text);
}
// A bit reported by its own number.
constexpr BitField numberBit(uint8_t bit, const char* key)
{
    return {bit, BitField::Shape::number, key, nullptr};
}

// The fields of the set bits, in the order of fields; clear bits append
// nothing.
void appendSetBits(std::span<const BitField> fields, uint64_t bits,
                   FieldSink& out);

} // namespace qvm::decode
