// Types 16 to 22: memory arrays and devices, their mapped addresses and
// errors, the pointing device and the portable battery.
#include "smbios/mapping/faithful_tables.hpp"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/memory_error.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kMiB = kKiB * 1024;

// The device's size: 0x7FFF points at the extended size (MiB, bits 30:0),
// 0xFFFF is unknown, and bit 15 says the rest counts KiB rather than MiB.
std::int64_t deviceSize(const RowContext& c)
{
    constexpr const char* kKey = "Size";
    const unsigned size = c.view.word(12);
    if (size == 0xFFFF)
        c.out.null(kKey);
    else if (size == 0x7FFF && c.view.length() >= 32)
        c.out.unsignedInteger(kKey, (c.view.dword(28) & 0x7FFFFFFFULL) * kMiB);
    else
        c.out.unsignedInteger(kKey, (size & 0x7FFFULL) *
                                        ((size & 0x8000U) != 0 ? kKiB : kMiB));
    return 0;
}

// Starting and ending address in KiB; 0xFFFFFFFF in the starting address
// points at the extended addresses, which count bytes. The ending address
// is that of the last byte.
std::int64_t mappedRange(const RowContext& c, std::size_t extendedAt)
{
    const std::uint32_t start = c.view.dword(4);
    const std::uint32_t end = c.view.dword(8);
    if (start == 0xFFFFFFFFU && extendedAt + 16 <= c.view.length())
    {
        c.out.unsignedInteger("StartingAddress", c.view.qword(extendedAt));
        c.out.unsignedInteger("EndingAddress", c.view.qword(extendedAt + 8));
        return 0;
    }
    c.out.unsignedInteger("StartingAddress", std::uint64_t{start} * kKiB);
    c.out.unsignedInteger("EndingAddress",
                          std::uint64_t{end} * kKiB + kKiB - 1);
    return 0;
}

std::int64_t arrayMappedRange(const RowContext& c)
{
    return mappedRange(c, 15);
}

std::int64_t deviceMappedRange(const RowContext& c)
{
    return mappedRange(c, 19);
}

constexpr Gate kV26 = versionAtLeast(2, 6);
constexpr Gate kV27 = versionAtLeast(2, 7);
constexpr Gate kV28 = versionAtLeast(2, 8);
constexpr Gate kV32 = versionAtLeast(3, 2);

constexpr FieldRow kMemoryArray[] = {
    decode(4, decode::addPMALocation),
    decode(5, decode::addPMAUse),
    decode(6, decode::addPMAErrorCorrectionTypes),
    // KiB, or the extended capacity in bytes.
    integer(7, U32, "MaximumCapacity")
        .inBytes(kKiB)
        .extendedWhen(0x80000000, {15, U64}),
    integer(11, U16, "MemoryErrorInformationHandle").nullWhen(0xFFFE),
    integer(13, U16, "NumberOfMemoryDevices"),
    libraryOnly(integer(15, U64, "ExtendedMaximumCapacity")
                    .when(kV27, lengthAbove(15))),
};

constexpr FieldRow kMemoryDevice[] = {
    integer(4, U16, "MemoryArrayHandle"),
    integer(6, U16, "MemoryErrorInformationHandle").nullWhen(0xFFFE),
    integer(8, U16, "TotalWidth").nullWhen(0xFFFF),
    integer(10, U16, "DataWidth").nullWhen(0xFFFF),
    libraryOnly(integer(12, U16, "Size")),
    faithfulOnly(compute(deviceSize)),
    decode(14, decode::addMemoryDeviceFormFactor),
    integer(15, U8, "DeviceSet").nullWhen(0xFF),
    text(16, "DeviceLocator"),
    text(17, "BankLocator"),
    decode(18, decode::addMemoryDeviceType),
    decodeAt(19, 2, decode::addMemoryDeviceTypeDetail),
    // MT/s; 0xFFFF points at the extended speed of 3.3.
    integer(21, U16, "Speed").extendedWhen(0xFFFF, {84, U32}).nullWhen(0),
    text(23, "Manufacturer"),
    text(24, "SerialNumber"),
    text(25, "AssetTag"),
    text(26, "PartNumber"),
    integer(27, U8, "Attributes").when(kV26, lengthAbove(27)),
    libraryOnly(integer(28, U32, "ExtendedSize").when(kV27, lengthAbove(28))),
    integer(32, U16, "ConfiguredMemoryClockSpeed")
        .extendedWhen(0xFFFF, {88, U32})
        .nullWhen(0)
        .when(kV27, lengthAbove(28)),
    integer(34, U16, "MinimumVoltage").nullWhen(0).when(kV28, lengthAbove(34)),
    integer(36, U16, "MaximumVoltage").nullWhen(0).when(kV28, lengthAbove(34)),
    integer(38, U16, "ConfiguredVoltage")
        .nullWhen(0)
        .when(kV28, lengthAbove(34)),
    // From 3.2 on.
    enumText(40, "MemoryTechnology", kMemoryTechnology).when(kV32),
    bitTexts(41, U16, "MemoryOperatingModeCapability", kOperatingMode)
        .when(kV32),
    faithfulOnly(text(43, "FirmwareVersion").when(kV32)),
    faithfulOnly(
        integer(44, U16, "ModuleManufacturerId").nullWhen(0).when(kV32)),
    faithfulOnly(integer(46, U16, "ModuleProductId").nullWhen(0).when(kV32)),
    faithfulOnly(integer(48, U16, "MemorySubsystemControllerManufacturerId")
                     .nullWhen(0)
                     .when(kV32)),
    faithfulOnly(integer(50, U16, "MemorySubsystemControllerProductId")
                     .nullWhen(0)
                     .when(kV32)),
    faithfulOnly(integer(52, U64, "NonVolatileSize")
                     .nullWhen(~std::uint64_t{0})
                     .when(kV32)),
    faithfulOnly(integer(60, U64, "VolatileSize")
                     .nullWhen(~std::uint64_t{0})
                     .when(kV32)),
    faithfulOnly(
        integer(68, U64, "CacheSize").nullWhen(~std::uint64_t{0}).when(kV32)),
    faithfulOnly(
        integer(76, U64, "LogicalSize").nullWhen(~std::uint64_t{0}).when(kV32)),
};

constexpr auto kMemoryError32 = memoryError(U32);

constexpr FieldRow kArrayMappedAddress[] = {
    libraryOnly(integer(4, U32, "StartingAddress")),
    libraryOnly(integer(8, U32, "EndingAddress")),
    faithfulOnly(compute(arrayMappedRange)),
    integer(12, U16, "MemoryArrayHandle"),
    integer(14, U8, "PartitionWidth"),
    libraryOnly(integer(15, U64, "ExtendedStartingAddress")
                    .when(kV27, lengthAbove(15))),
    libraryOnly(
        integer(23, U64, "ExtendedEndingAddress").when(kV27, lengthAbove(15))),
};

constexpr FieldRow kDeviceMappedAddress[] = {
    libraryOnly(integer(4, U32, "StartingAddress")),
    libraryOnly(integer(8, U32, "EndingAddress")),
    faithfulOnly(compute(deviceMappedRange)),
    integer(12, U16, "MemoryDeviceHandle"),
    integer(14, U16, "MemoryArrayMappedAddressHandle"),
    integer(16, U8, "PartitionRowPosition"),
    integer(17, U8, "InterleavePosition"),
    integer(18, U8, "InterleavedDataDepth"),
    libraryOnly(integer(19, U64, "ExtendedStartingAddress")
                    .when(kV27, lengthAbove(19))),
    libraryOnly(
        integer(27, U64, "ExtendedEndingAddress").when(kV27, lengthAbove(19))),
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
    integer(10, U16, "DeviceCapacity").nullWhen(0),
    integer(12, U16, "DesignVoltage").nullWhen(0),
    text(14, "SBDSVersionNumber"),
    integer(15, U8, "MaximumErrorInBatteryData").nullWhen(0xFF),
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
