// What changed between two tables: structures paired by handle, or by type
// and designation where the handles moved; those left over were added or
// removed; in each pair, every field whose value differs.
#pragma once

#include "smbios/diff/structure_fields.hpp"

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qvm::smbios
{

struct FieldChange
{
    std::string key;
    std::optional<std::string> before; // JSON text; none: not held
    std::optional<std::string> after;
};

struct StructureChange
{
    // Either side is null for a structure added or removed.
    const StructureFields* before;
    const StructureFields* after;
    std::vector<FieldChange> fields;

    bool moved() const
    {
        return before != nullptr && after != nullptr &&
               before->handle != after->handle;
    }
};

// Changes in the order of table before (removed and changed structures),
// then the structures added, in the order of table after.
std::vector<StructureChange> diffTables(std::span<const StructureFields> before,
                                        std::span<const StructureFields> after);

// One line per change (a changed length reads as the field "length"):
//   0x1102 type 17 Memory Device "DIMM A1": SerialNumber "1A2B" → "9F8E"
//   0x1102 type 17 Memory Device "DIMM A1": moved to handle 0x1202
//   0x0900 type 9 System Slots "SLOT2": removed
// A value that the structure does not hold reads "(none)".
std::string changesText(std::span<const StructureChange> changes);
// {"added":0,"removed":1,"changed":1,"changes":[{"change":"changed",
//  "handle":4354,"type":17,"name":"Memory Device","designation":"DIMM A1",
//  "fields":[{"key":"SerialNumber","before":"1A2B","after":"9F8E"}]}]}
// A moved structure has "moved_to" (its new handle); a value that the
// structure does not hold is left out.
std::string changesJson(std::span<const StructureChange> changes);

} // namespace qvm::smbios
