// The OEM types 225 (device descriptors of structures, also read by the
// descriptor map) and 226 (memory device extension).
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

// Both start with the name of their structure type: byte 0, which is the
// type number itself.
constexpr FieldRow kDescriptorMap[] = {
    decode(0, decode::addStructureTypeE1Info),
    integer(4, U8, "Table E1 Version"),
    dumpWhole(),
};

constexpr FieldRow kMemoryExtension[] = {
    decode(0, decode::addStructureTypeE1Info),
    integer(4, U16, "Type17 Table Handle"),
    textIfPresent(6, "Firmware Version"),
    integer(7, U32, "Component ID"),
    integer(11, U16, "Product ID"),
};

const TypeMapping kOemMappings[] = {
    {225, kDescriptorMap},
    {226, kMemoryExtension},
};

} // namespace

const std::span<const TypeMapping> oemMappings = kOemMappings;

} // namespace qvm::mapping
