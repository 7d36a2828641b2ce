#include "core_table.hpp"

#include "fields/fd_writer.hpp"
#include "qvmclient.h"
#include "smbios/json_export.hpp"
#include "smbios/structure_json.hpp"

#include <algorithm>
#include <cerrno>

namespace qvmcli::core
{

LoadedTable::LoadedTable(std::span<const std::uint8_t> table)
    : context_(qvm::smbios::TableContext::fromBytes(table)),
      // A table the walk finds nothing in has nothing to answer from.
      status_(context_.table.hasStructures() ? QVM_RC_SUCCESS
                                             : QVM_RC_NOT_FOUND)
{
}

Walk walkTable(const LoadedTable& loaded)
{
    Walk walk;
    walk.loaded = &loaded;
    const qvm::smbios::TableView& table = loaded.context().table;
    walk.tableSize = table.bytes().size();
    for (const TableEntry& entry : table)
    {
        ++walk.count;
        if (++walk.ofType[entry.view.type()] == kMaxOfOneType + 1)
            walk.pastLimit.push_back(entry);
        walk.end = entry.offset + entry.size;
    }
    const auto rest = table.bytes().subspan(walk.end);
    walk.unreached = std::any_of(rest.begin(), rest.end(),
                                 [](std::uint8_t b) { return b != 0; });
    return walk;
}

Converted structureJson(const Walk& walk, const TableEntry& entry)
{
    auto json = qvm::smbios::structureJson(entry.view, entry.size,
                                           walk.loaded->context().decode);
    return {std::move(json.text), json.status};
}

ExportReport exportJson(const Walk& walk, std::FILE* out)
{
    ExportReport report;
    if (std::fflush(out) != 0)
    {
        report.writeError = errno;
        return report;
    }
    qvm::FdWriter writer(fileno(out));
    const auto done = qvm::smbios::exportJson(walk.loaded->context(), writer);
    report.written = done.written;
    report.writeError = done.writeError;
    // Each left-out structure lies where the walk found it.
    for (const auto& left : done.leftOut)
        report.leftOut.push_back(
            {*walk.structures().from(left.offset), left.status});
    for (const std::uint8_t type : done.clippedTypes)
        report.clipped[type] = walk.ofType[type] - kMaxOfOneType;
    return report;
}

} // namespace qvmcli::core
