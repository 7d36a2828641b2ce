// Types 8 to 14: port connectors, system slots, on-board devices, OEM
// strings, configuration options, BIOS languages and group associations.
// The repeated groups of types 10 to 14 append the same keys once per group.
#include "smbios/decode/value_tables.hpp"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

#include <cstdio>

namespace qvm::mapping
{
namespace
{

// Two bytes per device from offset 4: the status, then the description's
// string number. A missing description is a null in the faithful view, so
// that the lists stay aligned device by device.
constexpr FieldRow kOnboardDevice[] = {
    decode(0, decode::addOnboardDeviceStatus),
    listText(1, "Description String"),
};
constexpr const char* kOnboardDeviceKeys[] = {"Device", "Onboard Device Type",
                                              "Item", "Description String"};

// Strings 1 to the count at offset 4, each under its key when present.
constexpr FieldRow kOemString[] = {itemString("OEM String")};
constexpr const char* kOemStringKeys[] = {"OEM String"};
constexpr FieldRow kConfigurationOption[] = {
    itemString("System Configuration option")};
constexpr const char* kConfigurationOptionKeys[] = {
    "System Configuration option"};
constexpr FieldRow kInstallableLanguage[] = {itemString("InstallableLanguage")};
constexpr const char* kInstallableLanguageKeys[] = {"InstallableLanguage"};

// From 3.2 on: the data bus width and the peer groups (five bytes each:
// segment, bus, device and function, width); from 3.4 the fields that
// follow them, wherever their number puts them.
std::int64_t slotPeersAndAfter(const RowContext& c)
{
    constexpr std::size_t kPeers = 19;
    constexpr std::size_t kPeerSize = 5;
    if (c.view.length() < kPeers)
        return 0;
    c.out.unsignedInteger("DataBusWidth", c.view.byte(17));
    const unsigned groups = c.view.byte(18);
    c.out.unsignedInteger("PeerGroupingCount", groups);
    c.out.list("PeerDevices");
    std::size_t at = kPeers;
    for (unsigned g = 0; g < groups && at + kPeerSize <= c.view.length();
         ++g, at += kPeerSize)
    {
        char text[48];
        const unsigned devfn = c.view.byte(at + 3);
        std::snprintf(text, sizeof text, "%04x:%02x:%02x.%x (Width %u)",
                      c.view.word(at), c.view.byte(at + 2), devfn >> 3,
                      devfn & 7U, c.view.byte(at + 4));
        c.out.text("PeerDevices", text);
    }
    constexpr std::size_t kTailSize = 4; // information, width, pitch
    if (!c.version.atLeast(3, 4) || c.view.length() < at + kTailSize)
        return 0;
    c.out.unsignedInteger("SlotInformation", c.view.byte(at));
    if (const char* width = decode::findText(
            decode::tables::SystemSlotDataBusWidth, c.view.byte(at + 1)))
        c.out.text("SlotPhysicalWidth", width);
    else
        c.out.null("SlotPhysicalWidth");
    // Hundredths of a millimetre; 0 when not given.
    if (const unsigned pitch = c.view.word(at + 2); pitch != 0)
        c.out.unsignedInteger("SlotPitch", pitch);
    else
        c.out.null("SlotPitch");
    return 0;
}

// Three bytes per item from offset 5: its type, then its handle.
constexpr FieldRow kGroupItem[] = {
    integer(0, U8, "ItemType"),
    integer(1, U16, "ItemHandle"),
};
constexpr const char* kGroupItemKeys[] = {"ItemType", "ItemHandle"};

constexpr Gate kV26 = versionAtLeast(2, 6);

// Both connector types share their keys in the library; the faithful view
// names each one.
constexpr FieldRow kPortConnector[] = {
    text(4, "InternalReferenceDesignator"),
    libraryOnly(label("Connector", "Internal")),
    libraryOnly(decode(5, decode::addPortConnectorType)),
    enumText(5, "InternalConnectorType", decode::tables::PortConnectorType),
    text(6, "ExternalReferenceDesignator"),
    libraryOnly(label("Connector", "External")),
    libraryOnly(decode(7, decode::addPortConnectorType)),
    enumText(7, "ExternalConnectorType", decode::tables::PortConnectorType),
    libraryOnly(decode(8, decode::addPortType)),
    enumText(8, "PortType", decode::tables::PortType),
};

constexpr FieldRow kSystemSlot[] = {
    text(4, "SlotDesignation"),
    decode(5, decode::addSystemSlotType),
    decode(6, decode::addSystemSlotDataBusWidth),
    decode(7, decode::addSystemSlotCurrentUsage),
    decode(8, decode::addSystemSlotLength),
    decode({9, U16}, {5, U8}, decode::addSystemSlotId),
    decode(11, decode::addSlotCharacteristics1),
    decode(12, decode::addSlotCharacteristics2),
    integer(13, U16, "SegmentGroupNum").when(kV26, lengthAbove(13)),
    integer(15, U8, "BusNum").when(kV26, lengthAbove(13)),
    integer(16, U8, "DevFuncNum").when(kV26, lengthAbove(13)),
    faithfulOnly(compute(slotPeersAndAfter).when(versionAtLeast(3, 2))),
};

constexpr FieldRow kOnboardDevices[] = {
    counted(lengthMinus(4) / 2, 4, 2, kOnboardDevice)
        .listing(kOnboardDeviceKeys),
};

constexpr FieldRow kOemStrings[] = {
    integer(4, U8, "StringCount"),
    counted(byteAt(4), 0, 0, kOemString).listing(kOemStringKeys),
};

constexpr FieldRow kConfigurationOptions[] = {
    integer(4, U8, "StringCount"),
    counted(byteAt(4), 0, 0, kConfigurationOption)
        .listing(kConfigurationOptionKeys),
};

// The installable language strings themselves are not appended.
constexpr FieldRow kBiosLanguage[] = {
    integer(4, U8, "InstallableLanguages"),
    integer(5, U8, "Flags"),
    dump(6, 15, "Reserved"),
    text(21, "CurrentLanguages"),
    faithfulOnly(counted(byteAt(4), 0, 0, kInstallableLanguage)
                     .listing(kInstallableLanguageKeys)),
};

constexpr FieldRow kGroupAssociations[] = {
    text(4, "GroupName"),
    counted(lengthMinus(5) / 3, 5, 3, kGroupItem).listing(kGroupItemKeys),
};

const TypeMapping kPortsSlotsStringsMappings[] = {
    {8, kPortConnector},         {9, kSystemSlot},
    {10, kOnboardDevices},       {11, kOemStrings},
    {12, kConfigurationOptions}, {13, kBiosLanguage},
    {14, kGroupAssociations},
};

} // namespace

const std::span<const TypeMapping> portsSlotsStringsMappings =
    kPortsSlotsStringsMappings;

} // namespace qvm::mapping
