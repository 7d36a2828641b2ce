// The structure types that have a mapping, gathered per family of types.
#pragma once

#include "smbios/mapping/row_engine.hpp"

#include <span>

namespace qvm::mapping
{

struct TypeMapping
{
    std::uint8_t type;
    Mapping rows;
};

// Types 0 to 3.
extern const std::span<const TypeMapping> platformMappings;
// Types 4 to 7.
extern const std::span<const TypeMapping> processorMemoryMappings;
// Types 8 to 14.
extern const std::span<const TypeMapping> portsSlotsStringsMappings;
// Type 15.
extern const std::span<const TypeMapping> eventLogMappings;
// Types 16 to 22.
extern const std::span<const TypeMapping> memoryMappings;
// Types 23 to 33.
extern const std::span<const TypeMapping> controlsProbesMappings;
// Types 34 to 36, 38 and 42.
extern const std::span<const TypeMapping> managementMappings;
// Types 37, 39, 40, 41 and 43.
extern const std::span<const TypeMapping> deviceMappings;
// Types 44 and 45.
extern const std::span<const TypeMapping> processorFirmwareMappings;
// Types 225 and 226.
extern const std::span<const TypeMapping> oemMappings;

} // namespace qvm::mapping
