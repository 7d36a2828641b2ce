// The grammar of a field string, "tag:key:value": splitting and checking.
#pragma once

#include <cstdint>
#include <string_view>

namespace qvm
{

// How a value text (or one element of an array value) is read.
enum class ValueKind : uint8_t
{
    Text,    // taken as it stands
    Decimal, // strtoll, base 10
    Hex,     // strtoll, base 16
    Boolean, // strtol, base 10; true when not zero
    Double,  // strtod
};

struct FieldTag
{
    ValueKind kind;
    bool array; // the value is "{a,b,...}"
};

struct FieldParts
{
    FieldTag tag;
    std::string_view key;
    const char* value; // the rest of the text, zero-terminated
};

// Builder results for a string that does not follow the grammar.
inline constexpr int32_t kFieldMalformed = -3; // colon or array brace missing
inline constexpr int32_t kFieldTooLong = -4;   // tag or key too long
inline constexpr int32_t kFieldUnknownTag = -5;

inline constexpr std::size_t kMaxTag = 15;
inline constexpr std::size_t kMaxKey = 127;

// Splits text into its parts and checks them in the order that decides
// which error a bad string reports. Returns 0 with parts filled, or one of
// the codes above. A null text counts as one without a colon. Allocates
// nothing.
int32_t parseFieldString(const char* text, FieldParts& parts) noexcept;

} // namespace qvm
