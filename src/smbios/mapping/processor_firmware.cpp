// Types 44 and 45: processor additional information and firmware
// inventory information. The library shows both as the generic dump; the
// faithful view decodes them.
#include "smbios/mapping/faithful_tables.hpp"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

#include <algorithm>

namespace qvm::mapping
{
namespace
{

constexpr std::size_t kProcessorData = 8;

// The processor-specific data follows its length and architecture bytes;
// only the part inside the structure is shown.
std::int64_t processorSpecificData(const RowContext& c)
{
    const std::size_t length = c.view.length();
    if (length <= kProcessorData)
        return 0;
    const std::size_t size =
        std::min<std::size_t>(c.view.byte(6), length - kProcessorData);
    appendDump(c, kProcessorData, size, "ProcessorSpecificData");
    return 0;
}

// The handles of the associated components from offset 24, as many as
// byte 23 says and the structure holds.
constexpr FieldRow kAssociatedComponent[] = {
    integer(0, U16, "AssociatedComponentHandle"),
};
constexpr const char* kAssociatedComponentKeys[] = {
    "AssociatedComponentHandle"};

constexpr FieldRow kProcessorAdditional[] = {
    libraryOnly(label("Generic", "Dump")),
    libraryOnly(dumpWhole()),
    faithfulOnly(integer(4, U16, "ReferencedHandle")),
    faithfulOnly(integer(6, U8, "BlockLength")),
    enumText(7, "ProcessorType", kProcessorArchitecture),
    faithfulOnly(compute(processorSpecificData)),
};

constexpr std::uint64_t kUnknownSize = ~std::uint64_t{0};

constexpr FieldRow kFirmwareInventory[] = {
    libraryOnly(label("Generic", "Dump")),
    libraryOnly(dumpWhole()),
    faithfulOnly(text(4, "FirmwareComponentName")),
    faithfulOnly(text(5, "FirmwareVersion")),
    enumText(6, "FirmwareVersionFormat", kFirmwareVersionFormat),
    faithfulOnly(text(7, "FirmwareId")),
    enumText(8, "FirmwareIdFormat", kFirmwareIdFormat),
    faithfulOnly(text(9, "ReleaseDate")),
    faithfulOnly(text(10, "Manufacturer")),
    faithfulOnly(text(11, "LowestSupportedFirmwareVersion")),
    faithfulOnly(integer(12, U64, "ImageSize").nullWhen(kUnknownSize)),
    bitTexts(20, U16, "Characteristics", kFirmwareCharacteristics),
    enumText(22, "State", kFirmwareState),
    faithfulOnly(integer(23, U8, "NumberOfAssociatedComponents")),
    faithfulOnly(counted(byteAt(23), 24, 2, kAssociatedComponent)
                     .listing(kAssociatedComponentKeys)),
};

const TypeMapping kProcessorFirmwareMappings[] = {
    {44, kProcessorAdditional},
    {45, kFirmwareInventory},
};

} // namespace

const std::span<const TypeMapping> processorFirmwareMappings =
    kProcessorFirmwareMappings;

} // namespace qvm::mapping
