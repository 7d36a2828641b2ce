#include "tablegen/entry_point_bytes.hpp"

#include <cstring>

namespace tablegen
{
namespace
{

void putLittle(Bytes& bytes, std::size_t at, std::size_t width,
               std::uint32_t value)
{
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        bytes[at + i] = static_cast<std::uint8_t>(value);
}

} // namespace

Bytes entryPointBytes(bool is64, std::uint8_t major, std::uint8_t minor,
                      std::uint32_t tableLength, std::uint16_t count)
{
    if (is64)
    {
        Bytes bytes{'_', 'S', 'M', '3', '_', 0, 0x18, major, minor, 0, 1};
        bytes.resize(0x18, 0);
        putLittle(bytes, 0x0C, 4, tableLength);
        return bytes;
    }
    Bytes bytes{'_', 'S', 'M', '_', 0, 0x1F, major, minor};
    bytes.resize(0x1F, 0);
    std::memcpy(&bytes[0x10], "_DMI_", 5);
    putLittle(bytes, 0x16, 2, tableLength);
    putLittle(bytes, 0x1C, 2, count);
    bytes[0x1E] = static_cast<std::uint8_t>(major << 4 | minor);
    return bytes;
}

} // namespace tablegen
