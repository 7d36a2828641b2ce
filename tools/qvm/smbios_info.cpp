// qvm smbios info and dump-bin: where the loaded table came from, and the
// table written as dmidecode's --from-dump reads it.
#include "cli.hpp"
#include "files.hpp"
#include "smbios_commands.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <qvmclient.h>
#include <set>

namespace qvmcli
{
namespace
{

struct DumpOptions
{
    TableChoice table;
    GivenVersion version;
    std::string file;
};

std::string entryPointLine(const TableSource& source)
{
    if (!source.entryPoint)
        return "none (a raw structure table)";
    std::string line = source.entryPoint->describe();
    if (source.kind == TableSource::Kind::machine)
        return line + ", from " + kMachineEntryPoint;
    char offset[32];
    std::snprintf(offset, sizeof offset, "; the table at offset 0x%zX",
                  source.tableOffset);
    return line + offset;
}

int info(const TableChoice& table)
{
    const std::string title = "smbios info";
    return withTable(
        title, table,
        [&](const TableSource& source, const core::Walk& walk)
        {
            const auto types =
                std::count_if(walk.ofType.begin(), walk.ofType.end(),
                              [](std::size_t n) { return n != 0; });
            std::printf(
                "source:       %s\n"
                "entry point:  %s\n"
                "table size:   %lld bytes\n"
                "structures:   %zu of %td types\n"
                "version pair: %u.%u (the first BIOS structure's "
                "release, which the decoders' gates compare)\n",
                source.describe().c_str(), entryPointLine(source).c_str(),
                static_cast<long long>(walk.tableSize), walk.count,
                types, unsigned{walk.loaded->context().reportedVersion.major},
                unsigned{walk.loaded->context().reportedVersion.minor});
            return kExitOk;
        });
}

// The table as the library loaded it, behind its entry point.
int dumpBin(const DumpOptions& o)
{
    const std::string title = "smbios dump-bin";
    // Checked before anything is read, so that the table stays as it is.
    if (!o.table.file.empty() && sameFile(o.file, o.table.file))
        throw UsageError{o.file + " is the table being read"};
    return withTable(
        title, o.table,
        [&](const TableSource& source, const core::Walk& walk)
        {
            // A table without an entry point goes behind one that says the
            // version the faithful view reads it as, so that the dump
            // reads the same.
            const auto& table = walk.loaded->context().table;
            const Bytes image = qvm::smbios::dumpImage(
                source.entryPoint, table.bytes(),
                tableVersion(source, table, o.version).version);
            OutputFile out(o.file);
            const bool written =
                out.problem().empty() &&
                out.write({reinterpret_cast<const char*>(image.data()),
                           image.size()}) &&
                out.commit();
            return written ? kExitOk : failWith(title, out.problem());
        },
        Reach::everyStructure);
}

} // namespace

void addSmbiosTableCommands(Command& smbios)
{
    auto table = std::make_shared<TableChoice>();
    Command c = smbios.command(
        "info",
        "where the table came from: source, entry point, size, structures\n"
        "For the inventory daemon's table, the path the daemon gave.",
        [table] { return info(*table); });
    addTableOptions(c, *table);

    auto dump = std::make_shared<DumpOptions>();
    c = smbios.command("dump-bin",
                       "write the table as dmidecode --dump-bin does, for "
                       "dmidecode --from-dump\n"
                       "The entry point at offset 0 (the table's own, else a "
                       "64-bit one with the\nversion the faithful view reads "
                       "the table as), the table at offset 0x20.",
                       [dump] { return dumpBin(*dump); });
    c.argument("FILE", dump->file, "where to write it", true);
    addTableOptions(c, dump->table);
    addVersionOption(c, dump->version);
}

} // namespace qvmcli
