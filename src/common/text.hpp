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

// A null text goes on the wire as "".
inline const char* orEmpty(const char* text) noexcept
{
    return text ? text : "";
}

} // namespace qvm
