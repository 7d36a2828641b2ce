// What the table linter reports: findings with a severity, where they lie
// and a sentence, and their two renderings (text lines, one JSON document).
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qvm::smbios
{

enum class Severity : std::uint8_t
{
    Error,   // readers misread the table or part of it
    Warning, // out of the reference, but readable
    Note,    // worth knowing, harmless to readers
};

struct Finding
{
    Severity severity;
    // The structure concerned; none for a finding about the whole table.
    std::optional<std::uint16_t> handle;
    std::optional<std::uint8_t> type;
    std::size_t offset; // of the byte concerned, from the table's start
    std::string sentence;
};

const char* severityName(Severity severity) noexcept;

// Every finding on the structure table bytes, read as SMBIOS version
// version: each structure's in table order, then those that compare
// structures (duplicate handles) and the table's as a whole.
std::vector<Finding> lintTable(std::span<const std::uint8_t> table,
                               decode::SmbiosVersion version);

// One line per finding:
//   error: handle 0x0011, type 17, offset 0x01A4: <sentence>
//   warning: table, offset 0x0200: <sentence>
std::string findingsText(std::span<const Finding> findings);
// {"errors":1,"warnings":0,"notes":0,"findings":[{"severity":"error",
//  "handle":17,"type":17,"offset":420,"sentence":"..."}]}
// handle and type are null for whole-table findings.
std::string findingsJson(std::span<const Finding> findings);

} // namespace qvm::smbios
