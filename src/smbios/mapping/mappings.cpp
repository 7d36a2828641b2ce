#include "smbios/mapping/mappings.hpp"

#include <array>

namespace qvm::mapping
{
namespace
{

// Type byte to mapping, filled once from every family's list.
std::array<Mapping, 256> buildIndex()
{
    std::array<Mapping, 256> index{};
    const std::span<const TypeMapping> families[] = {
        platformMappings,   processorMemoryMappings, portsSlotsStringsMappings,
        eventLogMappings,   memoryMappings,          controlsProbesMappings,
        managementMappings, deviceMappings,          processorFirmwareMappings,
        oemMappings,
    };
    for (const auto family : families)
        for (const TypeMapping& m : family)
            index[m.type] = m.rows;
    return index;
}

} // namespace

Mapping mappingFor(std::uint8_t type) noexcept
{
    static const std::array<Mapping, 256> index = buildIndex();
    return index[type];
}

} // namespace qvm::mapping
