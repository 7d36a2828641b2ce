// Value-to-text and bit-to-text tables: their row layout, the compile-time
// check every table definition passes, and the one lookup they share.
//
// The tables themselves are declared in value_tables.hpp. Reading them is
// reading data, not state: each is constexpr, so no call can change it and
// a decoder's output never depends on what happened before in the process.
#pragma once

#include "fields/field_sink.hpp"
#include "qvmclient.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace qvm::decode
{

using Table = std::span<const ValueTextEntry>;

// Code word of a row that covers first..last, both included.
constexpr uint32_t valueRange(uint8_t first, uint8_t last)
{
    return static_cast<uint32_t>(first) | static_cast<uint32_t>(last) << 8;
}

// A table definition has exactly the rows its declaration promises, each with
// a text (a missing initialiser would leave a silent zero row at the end),
// ordered by value without overlap, and only well-formed code words.
template <std::size_t N>
consteval bool isCompleteTable(const ValueTextEntry (&table)[N],
                               std::size_t rows)
{
    if (N != rows)
        return false;
    int previousLast = -1;
    for (const ValueTextEntry& row : table)
    {
        const int first = static_cast<int>(row.code & 0xFF);
        const int last = static_cast<int>(row.code >> 8 & 0xFF);
        if (row.text == nullptr || row.code >> 16 != 0)
            return false;
        if (last != 0 && last <= first)
            return false;
        if (first <= previousLast)
            return false;
        previousLast = last != 0 ? last : first;
    }
    return true;
}

// Text of the first row that covers value, or null when no row does.
const char* findText(Table table, uint8_t value) noexcept;

// "s:<key>:<text>" for the row that covers the value's low byte; nothing
// when no row does.
void appendLookup(const char* key, Table table, uint32_t value, FieldSink& out);

// The weight of every set bit that has a row (the row's code is the bit
// number), keyed by the row's text; bits from 32 up have no weight.
void appendBits(Table table, uint32_t bits, FieldSink& out);

// Text of value, or fallback when no row covers it.
inline const char* textOr(Table table, uint8_t value, const char* fallback)
{
    const char* text = findText(table, value);
    return text != nullptr ? text : fallback;
}

} // namespace qvm::decode
