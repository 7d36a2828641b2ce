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
    const auto at = [width](int index)
    { return static_cast<std::uint8_t>(11 + index * width); };
    return {{
        decode(4, decode::addMemoryErrorType),
        decode(5, decode::addMemoryErrorGranularity),
        decode(6, decode::addMemoryErrorOperation),
        integer(7, U32, "VendorSyndrome"),
        integer(at(0), address, "MemoryArrayErrorAddress"),
        integer(at(1), address, "DeviceErrorAddress"),
        integer(at(2), U32, "ErrorResolution"),
    }};
}

} // namespace qvm::mapping
