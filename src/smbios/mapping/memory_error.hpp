// The memory error layout shared by the 32-bit and the 64-bit error
// structures: the same fields, with the two error addresses 4 or 8 bytes
// wide and everything after them moved along.
#pragma once

#include "smbios/mapping/row_engine.hpp"

#include <array>

namespace qvm::mapping
{

constexpr std::array<FieldRow, 7> memoryError(Width address)
{
    const auto width = static_cast<int>(address);
    // An address not known has only its top bit set.
    const std::uint64_t unknown = std::uint64_t{1} << (width * 8 - 1);
    const auto at = [width](int index)
    { return static_cast<std::uint8_t>(11 + index * width); };
    return {{
        decode(4, decode::addMemoryErrorType),
        decode(5, decode::addMemoryErrorGranularity),
        decode(6, decode::addMemoryErrorOperation),
        integer(7, U32, "VendorSyndrome").nullWhen(0),
        integer(at(0), address, "MemoryArrayErrorAddress").nullWhen(unknown),
        integer(at(1), address, "DeviceErrorAddress").nullWhen(unknown),
        integer(at(2), U32, "ErrorResolution").nullWhen(0x80000000),
    }};
}

} // namespace qvm::mapping
