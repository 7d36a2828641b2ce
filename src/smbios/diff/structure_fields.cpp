#include "smbios/diff/structure_fields.hpp"

#include "common/handles.hpp"
#include "smbios/diff/designations.hpp"
#include "smbios/structure_json.hpp"

#include <algorithm>
#include <json-c/json.h>

namespace qvm::smbios
{

std::vector<StructureFields> structureFields(std::span<const TableEntry> table,
                                             const FieldReader& read)
{
    std::vector<StructureFields> out;
    out.reserve(table.size());
    for (const TableEntry& entry : table)
        out.push_back({entry.view.handle(), entry.view.type(), entry.offset,
                       designations(entry.view), read(entry)});
    return out;
}

Fields decodedFields(const TableEntry& entry)
{
    static constexpr std::string_view kHeaderKeys[] = {"Table Type", "Handle"};
    return fieldsOfObject(structureJson(entry.view, entry.size).text,
                          kHeaderKeys);
}

Fields fieldsOfObject(std::string_view json,
                      std::span<const std::string_view> skipped)
{
    Fields fields;
    const JsonPtr object(json_tokener_parse(std::string(json).c_str()));
    if (!json_object_is_type(object.get(), json_type_object))
        return fields;
    json_object_object_foreach(object.get(), key, value)
    {
        if (std::find(skipped.begin(), skipped.end(), key) != skipped.end())
            continue;
        fields.emplace_back(key,
                            json_object_to_json_string_ext(
                                value, JSON_C_TO_STRING_PLAIN |
                                           JSON_C_TO_STRING_NOSLASHESCAPE));
    }
    return fields;
}

} // namespace qvm::smbios
