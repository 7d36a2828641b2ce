// Types 37, 39, 40, 41 and 43: memory channels, power supplies, additional
// information, on-board devices and the TPM.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

// One group of three bytes per device from offset 7: load, then handle.
// The count is taken as it stands, like every field of this type: a count
// larger than the structure reads on into what follows it in the table.
std::int64_t memoryChannelDevices(const RowContext& c)
{
    const unsigned count = c.view.byte(6);
    for (unsigned k = 1; k <= count; ++k)
    {
        const std::size_t at = 7 + 3 * (k - 1);
        c.out.integer("Memory Device", k);
        c.out.integer("Device Load", c.view.byte(at));
        c.out.integer("Device Handle", c.view.word(at + 1));
    }
    return 0;
}

constexpr std::size_t kEntriesStart = 5;
constexpr std::size_t kEntryHeader = 5; // length, handle, offset, string

// Entries follow each other from offset 5, each as long as its first byte
// says, its value after a five-byte header. The list ends early at an entry
// shorter than that header (it could not be stepped over) or reaching past
// the formatted area: nothing of that entry is shown, so whatever the length
// bytes say, no entry field is read from outside the formatted area.
std::int64_t additionalEntries(const RowContext& c)
{
    const std::size_t end = c.view.length();
    std::size_t start = kEntriesStart;
    for (unsigned left = c.view.byte(4); left > 0; --left)
    {
        const std::size_t length = c.view.byte(start);
        if (length < kEntryHeader || start + length > end)
            break;
        c.out.integer("Entry Length", static_cast<std::int64_t>(length));
        c.out.integer("Referenced Handle", c.view.word(start + 1));
        c.out.integer("Referenced Offset", c.view.byte(start + 3));
        appendString(c, start + 4, "String");
        appendDump(c, start + kEntryHeader, length - kEntryHeader, "Value");
        start += length;
    }
    return 0;
}

// Bit 7 says whether the device is enabled, the other bits are its type.
std::int64_t onboardDeviceStatus(const RowContext& c)
{
    const unsigned status = c.view.byte(5);
    c.out.text("Device", (status & 0x80U) != 0 ? "Enabled" : "Disabled");
    decode::addOnboardDeviceTypes(status & 0x7FU, c.out);
    return 0;
}

constexpr FieldRow kMemoryChannel[] = {
    decode(4, decode::addMemoryChannelType),
    integer(5, U8, "MaximumChannelLoad"),
    integer(6, U8, "MemoryDeviceCount"),
    compute(memoryChannelDevices),
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
    compute(additionalEntries),
};

constexpr FieldRow kOnboardDevice[] = {
    text(4, "ReferenceDesignation"),
    compute(onboardDeviceStatus),
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
