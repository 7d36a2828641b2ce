// Types 37, 39, 40, 41 and 43: memory channels, power supplies, additional
// information, on-board devices and the TPM.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

// One group of three bytes per device from offset 7: load, then handle.
// The library takes the count as it stands, like every field of this type:
// a count larger than the structure reads on into what follows it in the
// table.
constexpr FieldRow kChannelDevice[] = {
    itemNumber("Memory Device"),
    integer(0, U8, "Device Load"),
    integer(1, U16, "Device Handle"),
};

// Entries follow each other from offset 5, each as long as its first byte
// says, its value after a five-byte header (length, handle, offset, string).
// The list ends early at an entry shorter than that header (it could not be
// stepped over) or reaching past the formatted area: nothing of that entry
// is shown, so whatever the length bytes say, no entry field is read from
// outside the formatted area.
constexpr std::uint8_t kEntryHeader = 5;
constexpr FieldRow kAdditionalEntry[] = {
    integer(0, U8, "Entry Length"),      integer(1, U16, "Referenced Handle"),
    integer(3, U8, "Referenced Offset"), text(4, "String"),
    dumpRest(kEntryHeader, "Value"),
};
constexpr const char* kAdditionalEntryKeys[] = {
    "Entry Length", "Referenced Handle", "Referenced Offset", "String",
    "Value"};

constexpr FieldRow kMemoryChannel[] = {
    decode(4, decode::addMemoryChannelType),
    integer(5, U8, "MaximumChannelLoad"),
    integer(6, U8, "MemoryDeviceCount"),
    counted(byteAt(6), 7, 3, kChannelDevice),
};

constexpr FieldRow kPowerSupply[] = {
    integer(4, U8, "PowerUnitGroup"),
    text(5, "Location"),
    text(6, "DeviceName"),
    text(7, "Manufacturer"),
    text(8, "SerialNumber"),
    text(9, "AssetTagNumber"),
    text(10, "ModelPartNumber"),
    text(11, "RevisionLevel"),
    integer(12, U16, "MaxPowerCapacity"),
    decodeAt(14, 2, decode::addSPSCharacteristics),
    integer(16, U16, "InputVoltageProbeHandle"),
    integer(18, U16, "CoolingDeviceHandle"),
    integer(20, U16, "InputCurrentProbeHandle"),
};

constexpr FieldRow kAdditionalInformation[] = {
    integer(4, U8, "NumberOfAdditionalInformationEntries"),
    countedSelfSized(byteAt(4), 5, kEntryHeader, kAdditionalEntry)
        .listing(kAdditionalEntryKeys)
        .boundedByLength(),
};

constexpr FieldRow kOnboardDevice[] = {
    text(4, "ReferenceDesignation"),
    decode(5, decode::addOnboardDeviceStatus),
    integer(6, U8, "DeviceTypeInstance"),
    integer(7, U16, "SegmentGroupNum"),
    integer(9, U8, "BusNum"),
    integer(10, U8, "DevFuncNum"),
};

constexpr FieldRow kTpm[] = {
    dump(4, 4, "VendorID"),
    integer(8, U8, "MajorSpecVersion"),
    integer(9, U8, "MinorSpecVersion"),
    integer(10, U32, "FirmwareVersion1"),
    integer(14, U32, "FirmwareVersion2"),
    text(18, "Description"),
    // The 64-bit characteristics reach the decoder as two halves.
    decode({19, U32}, {23, U32}, decode::addTpmDeviceCharacteristics),
    integer(27, U32, "OemDefined"),
};

const TypeMapping kDeviceMappings[] = {
    {37, kMemoryChannel}, {39, kPowerSupply}, {40, kAdditionalInformation},
    {41, kOnboardDevice}, {43, kTpm},
};

} // namespace

const std::span<const TypeMapping> deviceMappings = kDeviceMappings;

} // namespace qvm::mapping
