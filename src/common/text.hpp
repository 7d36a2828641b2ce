// Bounded text helpers shared by the subsystems.
#pragma once

#include <cstddef>
#include <cstdint>

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

// The text of a zero-terminated field of a fixed array, never reading past
// the array even when the caller left it unterminated.
template <std::size_t N>
const char* fieldText(const char (&field)[N], char (&scratch)[N + 1]) noexcept
{
    std::size_t i = 0;
    for (; i < N && field[i] != '\0'; ++i)
        scratch[i] = field[i];
    scratch[i] = '\0';
    return scratch;
}

// A null text goes on the wire as "".
inline const char* orEmpty(const char* text) noexcept
{
    return text ? text : "";
}

} // namespace qvm
