// One structure as the JSON text of its field list.
#pragma once

#include "smbios/structure_view.hpp"

#include <cstdint>
#include <string>

namespace qvm::smbios
{

// The JSON object of one structure (header fields, then its type's
// mapping, the generic dump, or nothing more for types 126 and 127).
// wholeSize is the size the whole-structure dumps cover. On failure text is
// empty and status says why.
struct StructureJson
{
    std::string text;
    std::int64_t status = 0;
};
StructureJson structureJson(const StructureView& view, std::size_t wholeSize);

} // namespace qvm::smbios
