// qvm smbios diff A B: what changed between two tables, structure by
// structure. Exit 0 when they hold the same, 1 when they differ, 2 when
// either cannot be read, as diff has it.
#include "cli.hpp"
#include "smbios/diff/table_diff.hpp"
#include "smbios/lint/check_table.hpp"
#include "smbios_commands.hpp"
#include "smbios_table.hpp"

#include <cstdio>
#include <memory>
#include <optional>

namespace qvmcli
{
namespace
{

struct DiffOptions
{
    std::string before;
    std::string after;
    bool json = false;
};

// The structures of file in the faithful view, read as the SMBIOS version
// its entry point names, else as the newest its structure lengths allow;
// none after saying why the file cannot be read.
std::optional<std::vector<qvm::smbios::StructureFields>>
readSide(const std::string& file)
{
    std::optional<std::vector<qvm::smbios::StructureFields>> side;
    TableChoice choice;
    choice.file = file;
    withTableBytes(
        "smbios diff", choice,
        [&](const TableSource& source, std::span<const std::uint8_t> table)
        {
            side = qvm::smbios::structureFields(
                table, qvm::smbios::tableVersion(source.entryPoint, table));
            return kExitOk;
        });
    return side;
}

int diff(const DiffOptions& o)
{
    const auto before = readSide(o.before);
    if (!before)
        return kExitTrouble;
    const auto after = readSide(o.after);
    if (!after)
        return kExitTrouble;
    const auto changes = qvm::smbios::diffTables(*before, *after);
    const std::string text = o.json ? qvm::smbios::changesJson(changes) + "\n"
                                    : qvm::smbios::changesText(changes);
    std::fputs(text.c_str(), stdout);
    return printed(changes.empty() ? kExitOk : kExitFailed);
}

} // namespace

void addSmbiosDiff(Command& smbios)
{
    auto o = std::make_shared<DiffOptions>();
    Command c = smbios.command(
        "diff",
        "what changed from table A to table B, structure by structure\n"
        "Structures pair by handle, or by type and designation (socket, "
        "locator, slot)\nwhere the handles moved. One line per structure "
        "added or removed and per\nfield changed, in the faithful view. "
        "Exit 0 when the tables hold the same,\n1 when they differ, 2 when "
        "either cannot be read.",
        [o] { return diff(*o); });
    c.argument("A", o->before,
               "the table before: raw, or behind an entry point; 'sample' for "
               "the bundled sample",
               true);
    c.argument("B", o->after, "the table after", true);
    c.flag("--json", o->json, "the changes as one JSON document");
}

} // namespace qvmcli
