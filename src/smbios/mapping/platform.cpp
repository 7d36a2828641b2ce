// Types 0 to 3: BIOS, system, baseboard and chassis.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

#include <cstdio>

namespace qvm::mapping
{
namespace
{

// Byte 24 plus the low six bits of byte 25 in units of 256; the two top
// bits of byte 25 choose gigabytes over megabytes.
std::int64_t extendedBiosSize(const RowContext& c)
{
    const unsigned high = c.view.byte(25);
    const unsigned size = c.view.byte(24) + (high & 0x3FU) * 256U;
    char value[80];
    std::snprintf(value, sizeof value, "%d %s", static_cast<int>(size),
                  (high & 0xC0U) != 0 ? "GB" : "MB");
    c.out.text("ExtendedBiosSize", value);
    return 0;
}

// The SKU number string follows the contained elements: count (byte 19)
// times record length (byte 20) bytes from offset 21.
std::int64_t chassisSkuNumber(const RowContext& c)
{
    const int offset = 21 + c.view.byte(19) * c.view.byte(20);
    if (static_cast<int>(c.view.length()) > offset)
        appendString(c, static_cast<std::size_t>(offset), "SKUNumber");
    return 0;
}

// Extension byte 2 means more with each version.
std::int64_t biosExtension2(const RowContext& c)
{
    decode::addBiosCharacteristicsExt2(c.view.byte(19), c.version, c.out);
    return 0;
}

constexpr Gate kV23 = versionAtLeast(2, 3);
constexpr Gate kV24 = versionAtLeast(2, 4);
constexpr Gate kV27 = versionAtLeast(2, 7);
constexpr Gate kV31 = versionAtLeast(3, 1);

constexpr FieldRow kBios[] = {
    text(4, "Vendor"),
    text(5, "BiosVersion"),
    integer(6, U16, "BiosSegment"),
    text(8, "BiosReleaseDate"),
    decodeAt(10, 8, decode::addBiosCharacteristics),
    decode(18, decode::addBiosCharacteristicsExt1).when(lengthAbove(18)),
    compute(biosExtension2).when(lengthAbove(19)),
    integer(20, U8, "SystemBiosMajorRelease").when(kV24, lengthAbove(20)),
    integer(21, U8, "SystemBiosMinorRelease").when(kV24, lengthAbove(20)),
    integer(22, U8, "EmbeddedControllerFirmwareMajorRelease")
        .when(kV24, lengthAbove(20)),
    integer(23, U8, "EmbeddedControllerFirmwareMinorRelease")
        .when(kV24, lengthAbove(20)),
    compute(extendedBiosSize).when(kV31, lengthAbove(24)),
};

constexpr FieldRow kSystem[] = {
    text(4, "Manufacturer"),
    text(5, "ProductName"),
    text(6, "Version"),
    text(7, "SerialNumber"),
    dump(8, 16, "Uuid"),
    decode(24, decode::addSystemWakeupType),
    text(25, "SKUNumber").when(kV24, lengthAbove(25)),
    text(26, "Family").when(kV24, lengthAbove(25)),
};

constexpr FieldRow kBaseboard[] = {
    text(4, "Manufacturer"),
    text(5, "ProductName"),
    text(6, "Version"),
    text(7, "SerialNumber"),
    text(8, "AssetTag").when(lengthAbove(8)),
    decode(9, decode::addBaseBoardFeatureFlags).when(lengthAbove(8)),
    text(10, "LocationInChassis").when(lengthAbove(8)),
    integer(11, U16, "ChassisHandle").when(lengthAbove(8)),
    decode(13, decode::addBaseBoardBoardType).when(lengthAbove(8)),
};

constexpr FieldRow kChassis[] = {
    text(4, "Manufacturer"),
    integer(5, U8, "Type"),
    decode(5, decode::addSystemEnclosureType),
    text(6, "Version"),
    text(7, "SerialNumber"),
    text(8, "AssetTag"),
    label("System", "Bootup state"),
    decode(9, decode::addSystemEnclosureStatus),
    label("Power", "Power Supply State"),
    decode(10, decode::addSystemEnclosureStatus),
    label("Thermal", "Thermal state"),
    decode(11, decode::addSystemEnclosureStatus),
    label("Security", "Security Status"),
    decode(12, decode::addSESecurityStatus),
    dump(13, 4, "OemDefined").when(kV23, lengthAbove(13)),
    integer(17, U8, "Height").when(kV23, lengthAbove(17)),
    integer(18, U8, "NumberofPowerCords").when(kV23, lengthAbove(18)),
    // The length is also checked against the SKU's own offset.
    compute(chassisSkuNumber).when(kV27, lengthAbove(19)),
};

const TypeMapping kPlatformMappings[] = {
    {0, kBios},
    {1, kSystem},
    {2, kBaseboard},
    {3, kChassis},
};

} // namespace

const std::span<const TypeMapping> platformMappings = kPlatformMappings;

} // namespace qvm::mapping
