// Whether text lies in the read-only data of the object this code is part
// of (the library, or a program the core is linked into): its string
// literals and constant arrays. Such text cannot change while the object
// is loaded, so a cache may know it by its address alone.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvm
{

bool inReadOnlyImage(const char* text) noexcept;

// A slot for text's address in a direct-mapped cache of 2^bits slots.
inline std::size_t addressSlot(const char* text, unsigned bits) noexcept
{
    const auto address =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(text));
    return static_cast<std::size_t>(address * 0x9E3779B97F4A7C15ULL >>
                                    (64 - bits));
}

} // namespace qvm
