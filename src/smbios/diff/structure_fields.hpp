// A structure as the table comparison sees it: where it is, what names it,
// and its fields as ordered key and value pairs.
#pragma once

#include "smbios/table_view.hpp"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qvm::smbios
{

// Fields in the structure's own order; a repeated field is one pair with a
// JSON array. Values are JSON texts ("\"DIMM A1\"", "2400", "[1,2]").
using Fields = std::vector<std::pair<std::string, std::string>>;

struct StructureFields
{
    std::uint16_t handle;
    std::uint8_t type;
    std::size_t offset;
    std::vector<std::string> designations;
    Fields fields;
};

// Reads one structure's fields, by whichever view the caller compares.
using FieldReader = std::function<Fields(const TableEntry&)>;

std::vector<StructureFields> structureFields(std::span<const TableEntry> table,
                                             const FieldReader& read);

// The fields of the library's decoded JSON object of the structure, its
// handle and type aside; the loaded table's version gates them.
Fields decodedFields(const TableEntry& entry);

// The fields of a JSON object text, skipping the header keys given (the
// handle and type, which the comparison holds apart); none for a text
// that is not an object.
Fields fieldsOfObject(std::string_view json,
                      std::span<const std::string_view> skipped);

} // namespace qvm::smbios
