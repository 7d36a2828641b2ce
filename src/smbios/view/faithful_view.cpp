#include "smbios/view/faithful_view.hpp"

#include "common/text.hpp"
#include "smbios/structure_json.hpp"

#include <algorithm>
#include <array>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::uint8_t kFirstOem = 128;

// Types 0 to 46 in order.
constexpr std::array<const char*, 47> kNames = {
    "BIOS Information",
    "System Information",
    "Base Board Information",
    "Chassis Information",
    "Processor Information",
    "Memory Controller Information",
    "Memory Module Information",
    "Cache Information",
    "Port Connector Information",
    "System Slot Information",
    "On Board Device Information",
    "OEM Strings",
    "System Configuration Options",
    "BIOS Language Information",
    "Group Associations",
    "System Event Log",
    "Physical Memory Array",
    "Memory Device",
    "32-bit Memory Error Information",
    "Memory Array Mapped Address",
    "Memory Device Mapped Address",
    "Built-in Pointing Device",
    "Portable Battery",
    "System Reset",
    "Hardware Security",
    "System Power Controls",
    "Voltage Probe",
    "Cooling Device",
    "Temperature Probe",
    "Electrical Current Probe",
    "Out-of-band Remote Access",
    "Boot Integrity Services Entry Point",
    "System Boot Information",
    "64-bit Memory Error Information",
    "Management Device",
    "Management Device Component",
    "Management Device Threshold Data",
    "Memory Channel",
    "IPMI Device Information",
    "System Power Supply",
    "Additional Information",
    "Onboard Device",
    "Management Controller Host Interface",
    "TPM Device",
    "Processor Additional Information",
    "Firmware Inventory Information",
    "String Property",
};

} // namespace

const char* structureName(std::uint8_t type) noexcept
{
    if (type < kNames.size())
        return kNames[type];
    if (type == 126)
        return "Inactive";
    if (type == kEndOfTable)
        return "End Of Table";
    return type >= kFirstOem ? "OEM-specific Type" : "Unknown Type";
}

const FaithfulField*
FaithfulStructure::find(std::string_view key) const noexcept
{
    const auto found =
        std::find_if(fields.begin(), fields.end(),
                     [key](const FaithfulField& f) { return f.key == key; });
    return found != fields.end() ? &*found : nullptr;
}

std::string FaithfulStructure::json() const
{
    std::string out = "{\"handle\": " + decimalString(handle) +
                      ", \"type\": " + decimalString(type) +
                      ", \"length\": " + decimalString(length) +
                      ", \"name\": " + jsonString(name) + ", \"fields\": {";
    const char* separator = "\n";
    for (const FaithfulField& field : fields)
    {
        out += separator;
        out += "    " + jsonString(field.key) + ": " + field.json();
        separator = ",\n";
    }
    out += fields.empty() ? "}}" : "\n  }}";
    return out;
}

FaithfulStructure faithfulStructure(const TableEntry& entry,
                                    decode::SmbiosVersion version)
{
    const StructureView& view = entry.view;
    FaithfulStructure s{view.handle(),
                        view.type(),
                        view.length(),
                        entry.offset,
                        structureName(view.type()),
                        {}};
    FaithfulSink sink;
    // A row that gives up on the structure (an event log kept outside the
    // table) leaves the fields found so far; they are all true.
    decodeFields(view, entry.size,
                 {.gateVersion = version, .policy = decode::Policy::Faithful},
                 sink);
    s.fields = sink.take();
    return s;
}

std::vector<FaithfulStructure> faithfulStructures(const TableView& table,
                                                  decode::SmbiosVersion version)
{
    std::vector<FaithfulStructure> out;
    for (const TableEntry& entry : table)
    {
        out.push_back(faithfulStructure(entry, version));
        if (entry.view.type() == kEndOfTable)
            break;
    }
    return out;
}

std::string faithfulJson(const TableView& table, const TableVersion& version)
{
    std::string out =
        "{\"smbios_version\": " + jsonString(version.text()) +
        ", \"version_source\": " + jsonString(sourceName(version.source)) +
        ", \"structures\": [";
    const char* separator = "\n  ";
    for (const FaithfulStructure& s :
         faithfulStructures(table, version.version))
    {
        out += separator;
        out += s.json();
        separator = ",\n  ";
    }
    out += "\n]}\n";
    return out;
}

} // namespace qvm::smbios
