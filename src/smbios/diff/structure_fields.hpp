// A structure as the table comparison sees it: where it is, what names it,
// and its fields in the faithful view, as ordered key and value pairs.
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstdint>
#include <span>
#include <string>
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
    std::uint8_t length; // of the formatted area
    std::size_t offset;
    std::vector<std::string> designations;
    Fields fields;
};

// Every structure of the table up to the end-of-table structure, read as
// SMBIOS version.
std::vector<StructureFields>
structureFields(std::span<const std::uint8_t> table,
                decode::SmbiosVersion version);

} // namespace qvm::smbios
