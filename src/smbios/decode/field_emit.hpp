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

// An array, not a pointer to a literal: flag bits are told apart by this
// address, and only an inline array has the same one in every unit (a
// literal's copies need not be merged; under ASan they are not).
inline constexpr char kTrue[] = "True";

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

// What one set bit of a characteristics field appends: "s:<key>:<text>", or
// "d:<key>:<bit>" for bits the field reports by number.
struct BitField
{
    uint8_t bit;
    const char* key;
    const char* text;
};

// A capability bit reported as "s:<text>:True": a flag, which the faithful
// view writes as true.
constexpr BitField flagBit(uint8_t bit, const char* text)
{
    return {bit, text, kTrue};
}
// A bit reported as "s:Notice:<text>".
constexpr BitField noticeBit(uint8_t bit, const char* text)
{
    return {bit, "Notice", text};
}
// A bit reported by its own number, "d:<key>:<bit>".
constexpr BitField numberBit(uint8_t bit, const char* key)
{
    return {bit, key, nullptr};
}

// The fields of the set bits, in the order of fields; clear bits append
// nothing.
void appendSetBits(std::span<const BitField> fields, uint64_t bits,
                   FieldSink& out);

} // namespace qvm::decode
