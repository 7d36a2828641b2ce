// One test table per SMBIOS generation, built with the table builder: the
// structures a table of that version typically holds, with repeated
// fields, structures shorter than the mapping's fields and "see extended"
// values.
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmtest
{

struct GenerationTable
{
    std::string name;
    qvm::decode::SmbiosVersion version;
    std::vector<std::uint8_t> bytes;
    // The version the structure lengths allow, as text.
    std::string lengthsAllow;
};

std::vector<GenerationTable> generationTables();

} // namespace qvmtest
