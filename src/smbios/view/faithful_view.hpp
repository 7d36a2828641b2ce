// The faithful view of an SMBIOS table: every value the table holds, read
// as the table's own SMBIOS version says, with nothing read past a
// structure's formatted area and nothing folded.
//
// It runs the same mapping rows as the library's export, under
// decode::Policy::Faithful:
// - version gates compare with the table's SMBIOS version (see
//   version_choice.hpp), never with the BIOS release bytes;
// - a field whose bytes are not all inside the formatted area is absent;
// - a key given more than once holds an array of its values in table
//   order, and lists (OEM strings, configuration options, on-board
//   devices, group items, additional-information entries, slot handles)
//   are arrays even with one member;
// - a string field whose string is missing, and a field whose code means
//   "unknown" or "not provided", is null; sizes are numbers of bytes, with
//   "see extended" values taken from their extended field.
//
// One structure as JSON:
//   {"handle": 4352, "type": 17, "length": 40, "name": "Memory Device",
//    "fields": {"Size": 17179869184, "Item": ["DIMM", "DDR4"], ...}}
// The whole table:
//   {"smbios_version": "3.1.1", "version_source": "entry point",
//    "structures": [ ...in table order, up to the end-of-table structure ]}
#pragma once

#include "smbios/decode/table_version.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/faithful_sink.hpp"
#include "smbios/view/version_choice.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvm::smbios
{

struct FaithfulStructure
{
    std::uint16_t handle = 0;
    std::uint8_t type = 0;
    std::uint8_t length = 0;
    std::size_t offset = 0; // of its first byte, from the table's start
    const char* name = "";
    std::vector<FaithfulField> fields;

    // The field of that key, or null.
    const FaithfulField* find(std::string_view key) const noexcept;
    // The structure's JSON object, on one line per field.
    std::string json() const;
};

// The name the reference decoder prints for a structure of type.
const char* structureName(std::uint8_t type) noexcept;

FaithfulStructure faithfulStructure(const TableEntry& entry,
                                    decode::SmbiosVersion version);

// Every structure in table order, the end-of-table structure included;
// what follows it is not part of the table.
std::vector<FaithfulStructure>
faithfulStructures(const TableView& table, decode::SmbiosVersion version);

// The whole table as one JSON document (strict JSON, valid UTF-8).
std::string faithfulJson(const TableView& table, const TableVersion& version);

} // namespace qvm::smbios
