// Bounded text helpers shared by the subsystems.
#pragma once

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace qvm
{

// Heap copy (malloc) of text, for strings handed across the C boundary;
// null when the allocation fails.
char* heapCopy(const char* text) noexcept;

// Bounded, always zero-terminated copy into a fixed array of size bytes;
// returns the length of src.
std::size_t boundedCopy(char* dst, const char* src, std::size_t size) noexcept;

template <std::size_t N>
std::size_t boundedCopy(char (&dst)[N], const char* src) noexcept
{
    return boundedCopy(dst, src, N);
}

// A null text goes on the wire as "".
inline const char* orEmpty(const char* text) noexcept
{
    return text ? text : "";
}

// Room for any 64-bit integer in decimal, sign included.
inline constexpr std::size_t kDecimalRoom = 20;
using DecimalBuffer = char[24];

// Write value in decimal, as "%lld" and "%llu" write it, at out (which has
// room for kDecimalRoom bytes) and return the end of the digits.
char* writeSignedDecimal(char* out, std::int64_t value) noexcept;
char* writeUnsignedDecimal(char* out, std::uint64_t value) noexcept;

// Any integer type, by its signedness: the overloads for int64_t and
// uint64_t alone would leave long long ambiguous where int64_t is long.
template <std::integral Integer>
char* writeDecimal(char* out, Integer value) noexcept
{
    if constexpr (std::is_signed_v<Integer>)
        return writeSignedDecimal(out, value);
    else
        return writeUnsignedDecimal(out, value);
}

// value in decimal in buffer.
template <std::integral Integer>
std::string_view decimalText(Integer value, DecimalBuffer& buffer) noexcept
{
    return {buffer,
            static_cast<std::size_t>(writeDecimal(buffer, value) - buffer)};
}

// value in decimal, as a string of its own.
template <std::integral Integer> std::string decimalString(Integer value)
{
    DecimalBuffer buffer;
    return std::string(decimalText(value, buffer));
}

// The 64-bit FNV-1a hash of text (64 bits on every target).
constexpr std::uint64_t fnv1a(std::string_view text) noexcept
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return hash;
}

} // namespace qvm
