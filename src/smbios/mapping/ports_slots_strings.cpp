// Types 8 to 14: port connectors, system slots, on-board devices, OEM
// strings, configuration options, BIOS languages and group associations.
// The repeated groups of types 10 to 14 append the same keys once per group.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

#include <cstdio>

namespace qvm::mapping
{
namespace
{

constexpr unsigned kDeviceEnabled = 0x80;

// Two bytes per device from offset 4: the type with its enabled bit, then
// the description's string number. A length below 4 describes none.
std::int64_t onboardDevices(const RowContext& c)
{
    const int devices = (static_cast<int>(c.view.length()) - 4) / 2;
    for (const char* key :
         {"Device", "Onboard Device Type", "Item", "Description String"})
        c.out.list(key);
    for (int i = 0; i < devices; ++i)
    {
        const std::size_t at = 4 + 2 * static_cast<std::size_t>(i);
        const unsigned device = c.view.byte(at);
        c.out.text("Device",
                   (device & kDeviceEnabled) != 0 ? "Enabled" : "Disabled");
        decode::addOnboardDeviceTypes(device & ~kDeviceEnabled, c.out);
        // A missing description is a null in the faithful view, so that
        // the lists stay aligned device by device.
        appendString(c, at + 1, "Description String", !c.faithful());
    }
    return 0;
}

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
    if (const char* width =
            decode::findText(SystemSlotDataBusWidthTable, c.view.byte(at + 1)))
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

// Strings 1 to the count at offset 4, each under key when present.
void countedStrings(const RowContext& c, const char* key)
{
    const unsigned count = c.view.byte(4);
    c.out.list(key);
    for (unsigned k = 1; k <= count; ++k)
        if (const char* value = c.view.string(static_cast<std::uint16_t>(k)))
            c.out.text(key, value);
        else if (c.faithful())
            c.out.null(key);
}

std::int64_t oemStrings(const RowContext& c)
{
    countedStrings(c, "OEM String");
    return 0;
}

std::int64_t configurationOptions(const RowContext& c)
{
    countedStrings(c, "System Configuration option");
    return 0;
}

// Three bytes per item from offset 5. The count is a signed division, so a
// length of 4 gives no items rather than a huge count.
std::int64_t groupItems(const RowContext& c)
{
    const auto items =
        static_cast<std::uint8_t>((static_cast<int>(c.view.length()) - 5) / 3);
    c.out.list("ItemType");
    c.out.list("ItemHandle");
    for (unsigned i = 0; i < items; ++i)
    {
        c.out.integer("ItemType", c.view.byte(5 + 3 * i));
        c.out.integer("ItemHandle", c.view.word(6 + 3 * i));
    }
    return 0;
}

// The installable languages, strings 1 to the count at offset 4.
std::int64_t installableLanguages(const RowContext& c)
{
    countedStrings(c, "InstallableLanguage");
    return 0;
}

constexpr Gate kV26 = versionAtLeast(2, 6);

// Both connector types share their keys in the library; the faithful view
// names each one.
constexpr FieldRow kPortConnector[] = {
    text(4, "InternalReferenceDesignator"),
    libraryOnly(label("Connector", "Internal")),
    libraryOnly(decode(5, decode::addPortConnectorType)),
    enumText(5, "InternalConnectorType", PortConnectorTypeTable),
    text(6, "ExternalReferenceDesignator"),
    libraryOnly(label("Connector", "External")),
    libraryOnly(decode(7, decode::addPortConnectorType)),
    enumText(7, "ExternalConnectorType", PortConnectorTypeTable),
    libraryOnly(decode(8, decode::addPortType)),
    enumText(8, "PortType", PortTypeTable),
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
    compute(onboardDevices),
};

constexpr FieldRow kOemStrings[] = {
    integer(4, U8, "StringCount"),
    compute(oemStrings),
};

constexpr FieldRow kConfigurationOptions[] = {
    integer(4, U8, "StringCount"),
    compute(configurationOptions),
};

// The installable language strings themselves are not appended.
constexpr FieldRow kBiosLanguage[] = {
    integer(4, U8, "InstallableLanguages"),
    integer(5, U8, "Flags"),
    dump(6, 15, "Reserved"),
    text(21, "CurrentLanguages"),
    faithfulOnly(compute(installableLanguages)),
};

constexpr FieldRow kGroupAssociations[] = {
    text(4, "GroupName"),
    compute(groupItems),
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
