// Types 8 to 14: port connectors, system slots, on-board devices, OEM
// strings, configuration options, BIOS languages and group associations.
// The repeated groups of types 10 to 14 append the same keys once per group.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

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
    for (int i = 0; i < devices; ++i)
    {
        const std::size_t at = 4 + 2 * static_cast<std::size_t>(i);
        const unsigned device = c.view.byte(at);
        c.out.text("Device",
                   (device & kDeviceEnabled) != 0 ? "Enabled" : "Disabled");
        decode::addOnboardDeviceTypes(device & ~kDeviceEnabled, c.out);
        appendString(c, at + 1, "Description String", true);
    }
    return 0;
}

// Strings 1 to the count at offset 4, each under key when present.
void countedStrings(const RowContext& c, const char* key)
{
    const unsigned count = c.view.byte(4);
    for (unsigned k = 1; k <= count; ++k)
        if (const char* value = c.view.string(static_cast<std::uint16_t>(k)))
            c.out.text(key, value);
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
    for (unsigned i = 0; i < items; ++i)
    {
        c.out.integer("ItemType", c.view.byte(5 + 3 * i));
        c.out.integer("ItemHandle", c.view.word(6 + 3 * i));
    }
    return 0;
}

constexpr Gate kV26 = versionAtLeast(2, 6);

constexpr FieldRow kPortConnector[] = {
    text(4, "InternalReferenceDesignator"),
    label("Connector", "Internal"),
    decode(5, decode::addPortConnectorType),
    text(6, "ExternalReferenceDesignator"),
    label("Connector", "External"),
    decode(7, decode::addPortConnectorType),
    decode(8, decode::addPortType),
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
