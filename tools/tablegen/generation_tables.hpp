// Test tables in the layouts of four SMBIOS generations (2.3, 2.7, 3.0,
// 3.4), built for the corners where readers go wrong: repeated fields
// (OEM strings, options, on-board devices, group items), structures
// shorter than their version's layout, "see extended" sizes, the memory
// device fields of 3.2 and later, processor additional information and
// firmware inventory. Plus a table that walks every processor family and
// enclosure type code, for checking their texts.
#pragma once

#include "tablegen/table_builder.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace tablegen
{

struct GenerationTable
{
    std::string name; // file name without extension: "smbios-2.7"
    std::uint8_t major;
    std::uint8_t minor;
    TableBuilder table;
};

std::vector<GenerationTable> generationTables();

} // namespace tablegen
