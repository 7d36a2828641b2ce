// Little-endian fields read byte by byte: structure fields sit at any
// alignment, and the bytes say nothing of the host's byte order.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qvm::decode
{

template <typename T> T readLittleEndian(const void* field) noexcept
{
    const auto* bytes = static_cast<const uint8_t*>(field);
    T value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        value = static_cast<T>(value << 8 | bytes[i]);
    return value;
}

inline uint16_t readLe16(const void* field) noexcept
{
    return readLittleEndian<uint16_t>(field);
}
inline uint32_t readLe32(const void* field) noexcept
{
    return readLittleEndian<uint32_t>(field);
}
inline uint64_t readLe64(const void* field) noexcept
{
    return readLittleEndian<uint64_t>(field);
}

} // namespace qvm::decode
