// Types 8 to 14: port connectors, system slots, on-board devices, OEM
// strings, configuration options, BIOS languages and group associations.
// The repeated groups of types 10 to 14 append the same keys once per group.
#include "smbios/decode/value_tables.hpp"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

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
