// Bounded text helpers shared by the subsystems.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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

// Writes value in decimal, as "%lld" writes it, at out (which has room for
// kDecimalRoom bytes) and returns the end of the digits.
char* writeDecimal(char* out, std::int64_t value) noexcept;

// value in decimal, as "%lld" writes it, in buffer.
std::string_view decimalText(std::int64_t value,
                             DecimalBuffer& buffer) noexcept;

// The 64-bit FNV-1a hash of text (64 bits on every target).
constexpr std::uint64_t fnv1a(std::string_view text) noexcept
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char c : text)
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return hash;
}

} // namespace qvm
