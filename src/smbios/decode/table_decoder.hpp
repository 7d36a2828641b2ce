// The table-driven decoder family: each decoder appends the raw value of its
// field under a label, then what the value means according to a table.
#pragma once

#include "fields/field_sink.hpp"
#include "smbios/decode/value_table.hpp"

#include <cstdint>

namespace qvm::decode
{

enum class Meaning : uint8_t
{
    Enumeration, // "s:Item:<text>" when a row covers the value
    Bits,        // "x:<text>:<weight>" for each set bit with a row
    None,        // the integer field alone
};

// The part of the argument a decoder reports: (value >> shift) & mask.
struct FieldBits
{
    uint8_t shift;
    uint32_t mask;

    constexpr uint32_t operator()(uint32_t value) const
    {
        return value >> shift & mask;
    }
};

inline constexpr FieldBits kWholeValue{0, 0xFFFFFFFF};
// A probe's or cooling device's combined byte: status in bits 7:5, location
// or device type in bits 4:0.
inline constexpr FieldBits kStatusBits{5, 0x07};
inline constexpr FieldBits kLocationBits{0, 0x1F};

struct TableDecoder
{
    const char* label;
    Table table;
    Meaning meaning;
    FieldBits field;
};

// Appends "d:<label>:<field>" and then the meaning of the field.
void decode(const TableDecoder& decoder, uint32_t value, FieldSink& out);

// "s:Item:<text>" when a row covers the value's low byte.
inline void appendItem(Table table, uint32_t value, FieldSink& out)
{
    appendLookup("Item", table, value, out);
}

} // namespace qvm::decode
