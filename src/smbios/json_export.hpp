// The whole table as one JSON text: an array holding, per structure type
// present (0 to 255, in that order), the array of its structures' objects
// in table order.
#pragma once

#include "fields/fd_writer.hpp"
#include "smbios/table_context.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qvm::smbios
{

// A structure whose object is not in the text.
struct LeftOut
{
    std::size_t offset; // from the table's start
    std::uint8_t type;
    std::uint16_t handle;
    std::int64_t status; // why: the conversion's status
};

struct ExportReport
{
    std::size_t written = 0; // structure objects in the text
    std::vector<LeftOut> leftOut;
    // Where the walk met something that is not a complete structure, when
    // that is before the table's end; nothing after it is exported.
    std::optional<std::size_t> stoppedAt;
    // Types with more than 65,535 structures: only their first 65,535 are
    // exported, as a selection by type would hold.
    std::vector<std::uint8_t> clippedTypes;
    // errno of the failed write, 0 when the whole text was written.
    int writeError = 0;
};

// Writes the text into out (and flushes it). A structure whose conversion
// fails is left out and the text stays valid JSON.
ExportReport exportJson(const TableContext& context, FdWriter& out);

} // namespace qvm::smbios
