// The one little-endian reader of table bytes. Structure fields sit at any
// alignment, and the bytes say nothing of the host's byte order, so values
// are put together byte by byte. Tools that read table bytes use it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace qvm
{

// The bytes (at most eight) as a little-endian number; fewer than eight
// bytes give the zero-extended value of those there are.
constexpr std::uint64_t readLittleEndian(std::span<const std::uint8_t> bytes)
{
    std::uint64_t value = 0;
    for (std::size_t i = bytes.size() < 8 ? bytes.size() : 8; i-- > 0;)
        value = value << 8 | bytes[i];
    return value;
}

// Fields read through a pointer whose bytes are known to be there.
inline std::uint16_t readLe16(const void* field) noexcept
{
    return static_cast<std::uint16_t>(
        readLittleEndian({static_cast<const std::uint8_t*>(field), 2}));
}
inline std::uint32_t readLe32(const void* field) noexcept
{
    return static_cast<std::uint32_t>(
        readLittleEndian({static_cast<const std::uint8_t*>(field), 4}));
}
inline std::uint64_t readLe64(const void* field) noexcept
{
    return readLittleEndian({static_cast<const std::uint8_t*>(field), 8});
}

} // namespace qvm
