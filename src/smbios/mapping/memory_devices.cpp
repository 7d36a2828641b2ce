// Types 16 to 22: memory arrays and devices, their mapped addresses and
// errors, the pointing device and the portable battery.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/memory_error.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

constexpr Gate kV26 = versionAtLeast(2, 6);
constexpr Gate kV27 = versionAtLeast(2, 7);
constexpr Gate kV28 = versionAtLeast(2, 8);

constexpr FieldRow kMemoryArray[] = {
    decode(4, decode::addPMALocation),
    decode(5, decode::addPMAUse),
    decode(6, decode::addPMAErrorCorrectionTypes),
    integer(7, U32, "MaximumCapacity"),
    integer(11, U16, "MemoryErrorInformationHandle"),
    integer(13, U16, "NumberOfMemoryDevices"),
    integer(15, U64, "ExtendedMaximumCapacity").when(kV27, lengthAbove(15)),
};

constexpr FieldRow kMemoryDevice[] = {
    integer(4, U16, "MemoryArrayHandle"),
    integer(6, U16, "MemoryErrorInformationHandle"),
    integer(8, U16, "TotalWidth"),
    integer(10, U16, "DataWidth"),
    integer(12, U16, "Size"),
    decode(14, decode::addMemoryDeviceFormFactor),
    integer(15, U8, "DeviceSet"),
    text(16, "DeviceLocator"),
    text(17, "BankLocator"),
    decode(18, decode::addMemoryDeviceType),
    decodeAt(19, 2, decode::addMemoryDeviceTypeDetail),
    integer(21, U16, "Speed"),
    text(23, "Manufacturer"),
    text(24, "SerialNumber"),
    text(25, "AssetTag"),
    text(26, "PartNumber"),
    integer(27, U8, "Attributes").when(kV26, lengthAbove(27)),
    integer(28, U32, "ExtendedSize").when(kV27, lengthAbove(28)),
    integer(32, U16, "ConfiguredMemoryClockSpeed").when(kV27, lengthAbove(28)),
    integer(34, U16, "MinimumVoltage").when(kV28, lengthAbove(34)),
    integer(36, U16, "MaximumVoltage").when(kV28, lengthAbove(34)),
    integer(38, U16, "ConfiguredVoltage").when(kV28, lengthAbove(34)),
};

constexpr auto kMemoryError32 = memoryError(U32);

constexpr FieldRow kArrayMappedAddress[] = {
    integer(4, U32, "StartingAddress"),
    integer(8, U32, "EndingAddress"),
    integer(12, U16, "MemoryArrayHandle"),
    integer(14, U8, "PartitionWidth"),
    integer(15, U64, "ExtendedStartingAddress").when(kV27, lengthAbove(15)),
    integer(23, U64, "ExtendedEndingAddress").when(kV27, lengthAbove(15)),
};

constexpr FieldRow kDeviceMappedAddress[] = {
    integer(4, U32, "StartingAddress"),
    integer(8, U32, "EndingAddress"),
    integer(12, U16, "MemoryDeviceHandle"),
    integer(14, U16, "MemoryArrayMappedAddressHandle"),
    integer(16, U8, "PartitionRowPosition"),
    integer(17, U8, "InterleavePosition"),
    integer(18, U8, "InterleavedDataDepth"),
    integer(19, U64, "ExtendedStartingAddress").when(kV27, lengthAbove(19)),
    integer(27, U64, "ExtendedEndingAddress").when(kV27, lengthAbove(19)),
};

constexpr FieldRow kPointingDevice[] = {
    decode(4, decode::addPointingDeviceType),
    decode(5, decode::addPointingDeviceInterface),
    integer(6, U8, "NumberOfButtons"),
};

constexpr FieldRow kPortableBattery[] = {
    text(4, "Location"),
    text(5, "Manufacturer"),
    text(6, "ManufactureDate"),
    text(7, "SerialNumber"),
    text(8, "DeviceName"),
    decode(9, decode::addPBDeviceChemistry),
    integer(10, U16, "DeviceCapacity"),
    integer(12, U16, "DesignVoltage"),
    text(14, "SBDSVersionNumber"),
    integer(15, U8, "MaximumErrorInBatteryData"),
    integer(16, U16, "SBDSSerialNumber"),
    decode(18, decode::addSBDSManufactureDate, U16),
    text(20, "SBDSDeviceChemistry"),
    integer(21, U8, "DesignCapacityMultiplier"),
    integer(22, U32, "OEMSpecific"),
};

const TypeMapping kMemoryMappings[] = {
    {16, kMemoryArray},         {17, kMemoryDevice},
    {18, kMemoryError32},       {19, kArrayMappedAddress},
    {20, kDeviceMappedAddress}, {21, kPointingDevice},
    {22, kPortableBattery},
};

} // namespace

const std::span<const TypeMapping> memoryMappings = kMemoryMappings;

} // namespace qvm::mapping
