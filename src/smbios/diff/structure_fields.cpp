#include "smbios/diff/structure_fields.hpp"

#include "smbios/diff/designations.hpp"
#include "smbios/view/faithful_view.hpp"

namespace qvm::smbios
{

std::vector<StructureFields>
structureFields(std::span<const std::uint8_t> table,
                decode::SmbiosVersion version)
{
    constexpr std::uint8_t kEndOfTable = 127;
    std::vector<StructureFields> out;
    for (const TableEntry& entry : TableView(table))
    {
        const FaithfulStructure s = faithfulStructure(entry, version);
        Fields fields;
        fields.reserve(s.fields.size());
        for (const FaithfulField& field : s.fields)
            fields.emplace_back(field.key, field.json());
        out.push_back({s.handle, s.type, s.length, s.offset,
                       designations(entry.view), std::move(fields)});
        if (s.type == kEndOfTable)
            break;
    }
    return out;
}

} // namespace qvm::smbios
