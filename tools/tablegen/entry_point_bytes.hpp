// The bytes of an SMBIOS entry point for a table that the builder made,
// checksums left at zero for whoever places the table to fill in.
#pragma once

#include "tablegen/table_builder.hpp"

#include <cstdint>

namespace tablegen
{

// The 32-bit form ("_SM_" ... "_DMI_", 31 bytes), or with is64 the 64-bit
// one ("_SM3_", 24 bytes), naming SMBIOS major.minor and announcing
// tableLength bytes (the 64-bit form's maximum) and, in the 32-bit form,
// count structures.
Bytes entryPointBytes(bool is64, std::uint8_t major, std::uint8_t minor,
                      std::uint32_t tableLength, std::uint16_t count);

} // namespace tablegen
