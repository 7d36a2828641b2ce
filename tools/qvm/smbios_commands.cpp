// qvm smbios ...: the JSON export, the list of structures and the identity
// queries.
#include "smbios_commands.hpp"

#include "cli.hpp"
#include "files.hpp"
#include "handles.hpp"
#include "smbios/fqdd.hpp"
#include "smbios/identity.hpp"
#include "smbios/view/faithful_view.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <qvmclient.h>
#include <string>
#include <vector>

namespace qvmcli
{
namespace
{

struct ExportOptions
{
    TableChoice table;
    GivenVersion version;
    std::string output;
    bool faithful = false;
};

// Names each structure that the export left out, and says how many it
// wrote; false when any was left out.
bool reportExport(const std::string& title, const core::ExportReport& report)
{
    for (const core::LeftOut& l : report.leftOut)
        warn(title, nameOf(l.entry) +
                        " is left out: the library cannot "
                        "convert it: " +
                        statusText(l.status));
    return report.leftOut.empty();
}

// The faithful view of the whole table, to standard output or to the file.
int exportFaithful(const std::string& title, const ExportOptions& o,
                   const TableSource& source, const core::Walk& walk)
{
    const auto& table = walk.loaded->context().table;
    const std::string text = qvm::smbios::faithfulJson(
        table, tableVersion(source, table, o.version));
    if (o.output.empty())
    {
        std::fputs(text.c_str(), stdout);
        return kExitOk;
    }
    OutputFile out(o.output);
    if (!out.problem().empty())
        return failWith(title, out.problem());
    if (std::fputs(text.c_str(), out.stream()) == EOF)
    {
        out.abandon(errno);
        return failWith(title, out.problem());
    }
    return out.commit() ? kExitOk : failWith(title, out.problem());
}

int exportTable(const ExportOptions& o)
{
    const std::string title = "smbios export";
    if (o.version && !o.faithful)
        throw UsageError{"--smbios-version reads the faithful view; give "
                         "--faithful with it"};
    return withTable(
        title, o.table,
        [&](const TableSource& source, const core::Walk& walk)
        {
            if (!o.output.empty() && sameFile(o.output, source.path))
                throw UsageError{"--output " + o.output +
                                 " is the table being read"};
            if (o.faithful)
                return exportFaithful(title, o, source, walk);
            if (o.output.empty())
            {
                const auto report = core::exportJson(walk, stdout);
                if (report.writeError != 0)
                    return failSystem("cannot write standard output",
                                      report.writeError);
                std::fputc('\n', stdout);
                const bool whole = reportExport(title, report);
                return !whole && o.table.strict ? kExitFailed : kExitOk;
            }
            OutputFile out(o.output);
            if (!out.problem().empty())
                return failWith(title, out.problem());
            const auto report = core::exportJson(walk, out.stream());
            if (report.writeError != 0)
            {
                out.abandon(report.writeError);
                return failWith(title, out.problem());
            }
            const bool whole = reportExport(title, report);
            if (!out.commit())
                return failWith(title, out.problem());
            return !whole && o.table.strict ? kExitFailed : kExitOk;
        },
        o.faithful ? Reach::everyStructure : Reach::library);
}

struct ListOptions
{
    TableChoice table;
    std::vector<std::string> types;
};

int list(const ListOptions& o)
{
    const std::vector<uint8_t> types = typesOf(o.types);
    return withTable(
        "smbios list", o.table,
        [&](const TableSource&, const core::Walk& walk)
        {
            for (const core::TableEntry& e : walk.structures())
                if (types.empty() || std::find(types.begin(), types.end(),
                                               e.view.type()) != types.end())
                    std::printf("0x%04X %3u  %-41s %5zu\n", e.view.handle(),
                                e.view.type(),
                                qvm::smbios::structureName(e.view.type()),
                                e.size);
            return kExitOk;
        },
        Reach::everyStructure);
}

// The identity queries take a key and hand out a heap text, read from the
// single System Information structure (type 1).
struct IdentityQuery
{
    qvm::smbios::TableText (*query)(const qvm::smbios::TableView&);
    const char* title;
    const char* what;       // "serial number"
    std::size_t stringByte; // of type 1, numbering the string
};

// Why the library has no answer, from what the table holds.
std::string whyNoIdentity(const IdentityQuery& q, const core::Walk& walk,
                          int64_t status)
{
    constexpr uint8_t kSystem = 1;
    const std::size_t systems = walk.ofType[kSystem];
    if (systems == 0)
        return "the table has no type-1 structure (System Information)";
    if (systems > 1)
        return "the table has " + std::to_string(systems) +
               " type-1 structures; the answer is read only from a single "
               "one";
    for (const core::TableEntry& e : walk.structures())
        if (e.view.type() == kSystem && status == QVM_RC_INVALID_REQUEST)
            return nameOf(e) + " has no " + q.what + " (its byte " +
                   std::to_string(q.stringByte) + " names string " +
                   std::to_string(e.view.byte(q.stringByte)) + ")";
    return statusText(status);
}

int identity(const TableChoice& table, const IdentityQuery& q)
{
    return withTable(
        q.title, table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto found = q.query(walk.loaded->context().table);
            if (found.status != QVM_RC_SUCCESS)
                return failWith(q.title, whyNoIdentity(q, walk, found.status));
            std::printf("%s\n", found.text);
            return kExitOk;
        });
}

const char* orNone(const char* text)
{
    return text != nullptr ? text : "(none)";
}

// The library reads the release bytes at 20 and 21 of the BIOS structure
// whose version it took, whatever that structure's length; the tool says
// when the structure is too short to hold them.
std::string release(const qvm::smbios::BiosIdentity& info,
                    const core::Walk& walk)
{
    constexpr uint8_t kReleaseEnd = 22;
    const auto* version = reinterpret_cast<const uint8_t*>(info.bios.version);
    for (const core::TableEntry& e : walk.structures())
        if (e.view.type() == 0 && version >= e.view.data() &&
            version < e.view.data() + e.size && e.view.length() < kReleaseEnd)
            return "(not held: " + nameOf(e) + " is " +
                   std::to_string(e.view.length()) +
                   " bytes long; the release lies at bytes 20 and 21)";
    if (info.bios.version == nullptr)
        return "(none)";
    return std::to_string(info.bios.release.major) + "." +
           std::to_string(info.bios.release.minor);
}

int bios(const TableChoice& table)
{
    return withTable(
        "smbios bios", table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto info =
                qvm::smbios::biosIdentity(walk.loaded->context().table);
            std::printf("BIOS version:  %s\n"
                        "BIOS release:  %s\n"
                        "Product name:  %s\n"
                        "Serial number: %s\n",
                        orNone(info.bios.version), release(info, walk).c_str(),
                        orNone(info.productName), orNone(info.serialNumber));
            return kExitOk;
        });
}

void printEntry(const qvm::smbios::FqddMap& map,
                const qvm::smbios::FqddRecord& entry)
{
    const unsigned handle = entry.handle;
    std::printf("0x%04X %u 0x%02X 0x%02X %s\n", handle, entry.tableIndex,
                entry.entryByte0, entry.entryByte3, orNone(map.text(entry)));
}

struct FqddOptions
{
    TableChoice table;
    std::string handle;
};

int fqdd(const FqddOptions& o)
{
    const bool one = !o.handle.empty();
    const auto wanted = one ? parseNumber(o.handle, kLastHandle, "HANDLE") : 0;
    const std::string title = one ? "smbios fqdd " + o.handle : "smbios fqdd";
    return withTable(
        title, o.table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto built =
                qvm::smbios::buildFqddMap(walk.loaded->context().table);
            using qvm::smbios::FqddResult;
            if (built.result == FqddResult::noStructures)
                return failWith(title, "the table has no type-225 structures");
            if (built.result == FqddResult::otherVersion)
                return failWith(title, "a type-225 structure has a map "
                                       "version other than 1");
            if (!one)
            {
                for (const auto& entry : built.map.records)
                    printEntry(built.map, entry);
                return kExitOk;
            }
            const auto* entry =
                built.map.find(static_cast<std::uint32_t>(wanted));
            if (entry == nullptr)
                return failWith(title, "the map has no entry "
                                       "for handle " +
                                           handleText(wanted));
            printEntry(built.map, *entry);
            return kExitOk;
        });
}

// A command whose only options choose the table.
void addTableCommand(Command& smbios, const std::string& name,
                     const std::string& help,
                     std::function<int(const TableChoice&)> run)
{
    auto table = std::make_shared<TableChoice>();
    Command c =
        smbios.command(name, help, [table, run] { return run(*table); });
    addTableOptions(c, *table);
}

const IdentityQuery kServiceTag{qvm::smbios::serviceTag, "smbios service-tag",
                                "serial number", 7};
const IdentityQuery kSystemName{qvm::smbios::systemName, "smbios system-name",
                                "product name", 5};

} // namespace

void addSmbiosCommands(Command& app)
{
    Command smbios = app.group("smbios", "the SMBIOS table");

    auto exported = std::make_shared<ExportOptions>();
    Command c = smbios.command(
        "export",
        "the whole table as JSON\n"
        "The library's export, as BMC programs hand it on; --faithful writes "
        "the table\nas it is instead, value for value with dmidecode.\n"
        "Written to standard output, or to FILE once it is complete: through "
        "a new file\nbeside it that replaces it. Structures that the library "
        "leaves out are listed\non standard error.",
        [exported] { return exportTable(*exported); });
    addTableOptions(c, exported->table);
    c.text("--output", exported->output, "where to write it", "FILE");
    c.flag("--faithful", exported->faithful,
           "every value the table holds, read as its SMBIOS version says");
    addVersionOption(c, exported->version);

    auto listed = std::make_shared<ListOptions>();
    c = smbios.command("list",
                       "one line per structure: handle, type, type name, "
                       "whole size",
                       [listed] { return list(*listed); });
    addTableOptions(c, listed->table);
    c.texts("--type", listed->types, kTypeHelp, "N|KEYWORD");

    addSmbiosViews(smbios);
    addTableCommand(
        smbios, "service-tag", "the system's service tag (its serial number)",
        [](const TableChoice& t) { return identity(t, kServiceTag); });
    addTableCommand(smbios, "system-name",
                    "the system's name (an OEM string, else the product name)",
                    [](const TableChoice& t)
                    { return identity(t, kSystemName); });
    addTableCommand(smbios, "bios",
                    "BIOS version and release, product name, serial number\n"
                    "A release that the BIOS structure is too short to hold "
                    "is marked as such.",
                    bios);

    auto mapped = std::make_shared<FqddOptions>();
    c = smbios.command("fqdd",
                       "the device-descriptor map of the type-225 structures\n"
                       "One line per entry: mapped handle, index of its "
                       "type-225 structure,\nentry bytes 0 and 3, and that "
                       "structure's string numbered by byte 0.",
                       [mapped] { return fqdd(*mapped); });
    c.argument("HANDLE", mapped->handle, "only the entry of this handle",
               false);
    addTableOptions(c, mapped->table);

    addSmbiosTableCommands(smbios);
    addSmbiosCheck(smbios);
    addSmbiosDiff(smbios);
}

int printed(int exit)
{
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return exit;
    failSystem("cannot write standard output", errno != 0 ? errno : EIO);
    return kExitTrouble;
}

} // namespace qvmcli
