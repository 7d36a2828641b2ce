// Types 0 to 3: BIOS, system, baseboard and chassis.
#include "smbios/decode/value_tables.hpp"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"
#include "smbios/view/keywords.hpp"

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

// The lock bit of the enclosure type byte, in the reference decoder's
// words.
std::int64_t chassisLock(const RowContext& c)
{
    c.out.text("Lock",
               (c.view.byte(5) & 0x80U) != 0 ? "Present" : "Not Present");
    return 0;
}

// The ROM size in bytes: byte 9 counts 64 KiB blocks less one; 0xFF
// points at the word at 24, whose top two bits choose MiB or GiB.
std::int64_t biosRomSize(const RowContext& c)
{
    constexpr const char* kKey = "BiosRomSize";
    const unsigned blocks = c.view.byte(9);
    if (blocks != 0xFF)
    {
        c.out.unsignedInteger(kKey, (blocks + 1ULL) << 16);
        return 0;
    }
    if (c.view.length() < 26)
    {
        c.out.null(kKey);
        return 0;
    }
    const unsigned extended = c.view.word(24);
    const unsigned shift = (extended >> 14) == 0 ? 20 : 30;
    if ((extended >> 14) > 1)
        c.out.null(kKey);
    else
        c.out.unsignedInteger(kKey, std::uint64_t{extended & 0x3FFFU} << shift);
    return 0;
}

// The UUID as text; its first three fields are little-endian from 2.6 on.
std::int64_t systemUuid(const RowContext& c)
{
    if (c.view.length() >= 24)
        c.out.text("Uuid", smbios::uuidText(c.view, 8, c.version).c_str());
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
    integer(20, U8, "SystemBiosMajorRelease")
        .nullWhen(0xFF)
        .when(kV24, lengthAbove(20)),
    integer(21, U8, "SystemBiosMinorRelease")
        .nullWhen(0xFF)
        .when(kV24, lengthAbove(20)),
    integer(22, U8, "EmbeddedControllerFirmwareMajorRelease")
        .nullWhen(0xFF)
        .when(kV24, lengthAbove(20)),
    integer(23, U8, "EmbeddedControllerFirmwareMinorRelease")
        .nullWhen(0xFF)
        .when(kV24, lengthAbove(20)),
    libraryOnly(compute(extendedBiosSize).when(kV31, lengthAbove(24))),
    faithfulOnly(compute(biosRomSize)),
};

constexpr FieldRow kSystem[] = {
    text(4, "Manufacturer"),
    text(5, "ProductName"),
    text(6, "Version"),
    text(7, "SerialNumber"),
    libraryOnly(dump(8, 16, "Uuid")),
    faithfulOnly(compute(systemUuid)),
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
    faithfulOnly(
        integer(14, U8, "ContainedObjectHandleCount").when(lengthAbove(14))),
};

constexpr FieldRow kChassis[] = {
    text(4, "Manufacturer"),
    integer(5, U8, "Type"),
    decode(5, decode::addSystemEnclosureType),
    faithfulOnly(compute(chassisLock).when(lengthAbove(5))),
    text(6, "Version"),
    text(7, "SerialNumber"),
    text(8, "AssetTag"),
    // The three states and the security status share their keys in the
    // library; the faithful view names each one.
    libraryOnly(label("System", "Bootup state")),
    libraryOnly(decode(9, decode::addSystemEnclosureStatus)),
    libraryOnly(label("Power", "Power Supply State")),
    libraryOnly(decode(10, decode::addSystemEnclosureStatus)),
    libraryOnly(label("Thermal", "Thermal state")),
    libraryOnly(decode(11, decode::addSystemEnclosureStatus)),
    libraryOnly(label("Security", "Security Status")),
    libraryOnly(decode(12, decode::addSESecurityStatus)),
    enumText(9, "BootUpState", decode::tables::SystemEnclosureStatus),
    enumText(10, "PowerSupplyState", decode::tables::SystemEnclosureStatus),
    enumText(11, "ThermalState", decode::tables::SystemEnclosureStatus),
    enumText(12, "SecurityStatus", decode::tables::SESecurityStatus),
    dump(13, 4, "OemDefined").when(kV23, lengthAbove(13)),
    integer(17, U8, "Height").nullWhen(0).when(kV23, lengthAbove(17)),
    integer(18, U8, "NumberofPowerCords")
        .nullWhen(0)
        .when(kV23, lengthAbove(18)),
    faithfulOnly(
        integer(19, U8, "ContainedElementCount").when(kV23, lengthAbove(20))),
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
