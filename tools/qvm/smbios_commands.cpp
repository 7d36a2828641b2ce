// qvm smbios ...: the JSON export, the list of structures and the identity
// queries.
#include "smbios_commands.hpp"

#include "cli.hpp"
#include "export_count.hpp"
#include "files.hpp"
#include "handles.hpp"
#include "smbios_structures.hpp"
#include "smbios_table.hpp"

#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
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
    std::string output;
    bool strict = false;
};

// Names each structure that the export left out; returns how many. Only
// the types that came out short are converted one by one to find them.
std::size_t reportLeftOut(const std::vector<Structure>& all,
                          const ExportCount& count)
{
    std::array<std::size_t, 256> inTable{};
    for (const Structure& s : all)
        ++inTable[s.type()];
    std::vector<Structure> ofShortTypes;
    for (const Structure& s : all)
        if (count.byType[s.type()] < inTable[s.type()])
            ofShortTypes.push_back(s);
    return reportLeftOut(ofShortTypes);
}

// The library reports success whatever became of its file: the tool reads
// the file back before anyone else sees it. leftOut receives how many
// structures the export left out.
bool checkExport(const std::string& title, const std::string& path,
                 const std::string& text, const std::vector<Structure>& all,
                 std::size_t& leftOut)
{
    const auto objects = countExport(text);
    if (!objects)
    {
        failWith(title, "the export came out cut short after " +
                            std::to_string(text.size()) + " bytes (" +
                            whyCutShort(path, text.size()) + ")");
        return false;
    }
    leftOut = reportLeftOut(all, *objects);
    const std::size_t expected = all.size() - leftOut;
    if (objects->total != expected)
        failWith(title, "the export holds " + std::to_string(objects->total) +
                            " structures, not " + std::to_string(expected));
    return objects->total == expected;
}

int exportToStandardOutput(const std::string& title,
                           const std::vector<Structure>& all,
                           std::size_t& leftOut)
{
    const ScratchFile scratch;
    if (scratch.path().empty())
        return failSystem(title + ": cannot make a scratch file");
    if (const int64_t rc = SmBiosDataToJSON(scratch.path().c_str()); rc != 0)
        return fail(title, rc);
    const std::string text = scratch.text();
    if (!checkExport(title, scratch.path(), text, all, leftOut))
        return kExitFailed;
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return failSystem(title + ": cannot write standard output");
    return kExitOk;
}

int exportToFile(const std::string& title, const std::string& output,
                 const std::vector<Structure>& all, std::size_t& leftOut)
{
    OutputFile out(output);
    if (!out.problem().empty())
        return failWith(title, out.problem());
    if (const int64_t rc = SmBiosDataToJSON(out.path().c_str()); rc != 0)
        return fail(title, rc);
    if (!checkExport(title, out.path(), fileText(out.path()), all, leftOut))
    {
        std::fprintf(stderr, "qvm: nothing was written to %s\n",
                     output.c_str());
        return kExitFailed;
    }
    return out.commit() ? kExitOk : failWith(title, out.problem());
}

int exportTable(const ExportOptions& o)
{
    const std::string title = "smbios export";
    return withTable(
        title, o.table,
        [&](const TableSource& source)
        {
            if (!o.output.empty() && sameFile(o.output, source.path))
                throw UsageError{"--output " + o.output +
                                 " is the table being read"};
            std::vector<Structure> all;
            if (const int64_t rc = structuresOf({}, all); rc != 0)
                return fail(title, rc);
            std::size_t leftOut = 0;
            const int exit = o.output.empty()
                                 ? exportToStandardOutput(title, all, leftOut)
                                 : exportToFile(title, o.output, all, leftOut);
            return exit == kExitOk && o.strict && leftOut > 0 ? kExitFailed
                                                              : exit;
        });
}

struct ListOptions
{
    TableChoice table;
    std::string type;
};

int list(const ListOptions& o)
{
    const std::vector<uint8_t> types =
        o.type.empty() ? std::vector<uint8_t>{} : typesOf(o.type);
    return withTable(
        "smbios list", o.table,
        [&](const TableSource&)
        {
            std::vector<Structure> all;
            if (const int64_t rc = structuresOf(types, all); rc != 0)
                return fail("smbios list", rc);
            for (const Structure& s : all)
                std::printf("0x%04X %3u  %-41s %5u\n", s.handle(), s.type(),
                            typeName(s.type()).c_str(), s.size);
            return kExitOk;
        });
}

// The identity queries take a key and hand out a heap text.
int identity(const TableChoice& table, int64_t (*query)(const char*, char**),
             const char* key, const std::string& title)
{
    return withTable(title, table,
                     [&](const TableSource&)
                     {
                         char* text = nullptr;
                         const int64_t rc = query(key, &text);
                         if (rc != QVM_RC_SUCCESS)
                             return fail(title, rc);
                         printAndFree(text);
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
std::string release(const SmbiosBiosInfo& info)
{
    constexpr uint8_t kReleaseEnd = 22;
    std::vector<Structure> bios;
    structuresOf({0}, bios);
    for (const Structure& s : bios)
        if (info.bios_version >= reinterpret_cast<char*>(s.at) &&
            info.bios_version < reinterpret_cast<char*>(s.at + s.size) &&
            s.length() < kReleaseEnd)
            return "(not held: " + nameOf(s) + " is " +
                   std::to_string(s.length()) +
                   " bytes long; the release lies at bytes 20 and 21)";
    if (info.bios_version == nullptr)
        return "(none)";
    return std::to_string(info.major_release) + "." +
           std::to_string(info.minor_release);
}

int bios(const TableChoice& table)
{
    return withTable("smbios bios", table,
                     [&](const TableSource&)
                     {
                         SmbiosBiosInfo* raw = nullptr;
                         const int64_t rc = GetBiosInfo("SMBIOSBIOSInfo", &raw);
                         const std::unique_ptr<SmbiosBiosInfo, Free> info(raw);
                         if (rc != QVM_RC_SUCCESS)
                             return fail("smbios bios", rc);
                         std::printf("BIOS version:  %s\n"
                                     "BIOS release:  %s\n"
                                     "Product name:  %s\n"
                                     "Serial number: %s\n",
                                     orNone(info->bios_version),
                                     release(*info).c_str(),
                                     orNone(info->product_name),
                                     orNone(info->serial_number));
                         return kExitOk;
                     });
}

// The mapping structure's string that an entry's byte 0 numbers, if any.
const char* entryText(const FqddMapEntry& entry)
{
    if (entry.table_index >= g_E1tableCount || g_E1table == nullptr)
        return nullptr;
    uint8_t* structure = g_E1table[entry.table_index];
    return SmbiosGetString(&structure, entry.entry_byte0);
}

void printEntry(const FqddMapEntry& entry)
{
    const unsigned handle = entry.handle;
    std::printf("0x%04X %u 0x%02X 0x%02X %s\n", handle, entry.table_index,
                entry.entry_byte0, entry.entry_byte3, orNone(entryText(entry)));
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
    return withTable(title, o.table,
                     [&](const TableSource&)
                     {
                         const int64_t rc = PopulateFqdds();
                         if (rc != QVM_RC_SUCCESS)
                             return fail(title, rc);
                         if (!one)
                         {
                             for (uint16_t i = 0; i < m_countE1; ++i)
                                 printEntry(m_Fqdd[i]);
                             return kExitOk;
                         }
                         const FqddMapEntry* entry =
                             FindFqdd(static_cast<uint32_t>(wanted));
                         if (entry == nullptr)
                             return fail(title, QVM_RC_NOT_FOUND);
                         printEntry(*entry);
                         return kExitOk;
                     });
}

// A command whose only options choose the table.
void addTableCommand(CLI::App& smbios, const std::string& name,
                     const std::string& help,
                     std::function<int(const TableChoice&)> run)
{
    auto table = std::make_shared<TableChoice>();
    CLI::App* c =
        addCommand(smbios, name, help, [table, run] { return run(*table); });
    addTableOptions(*c, *table);
}

int serviceTag(const TableChoice& table)
{
    return identity(table, GetServiceTag, "SMBIOSServiceTagString",
                    "smbios service-tag");
}

int systemName(const TableChoice& table)
{
    return identity(table, GetSystemName, "SMBIOSSystemNameString",
                    "smbios system-name");
}

} // namespace

void addSmbiosCommands(CLI::App& app)
{
    CLI::App* smbios = addGroup(app, "smbios", "the SMBIOS table");

    auto exported = std::make_shared<ExportOptions>();
    CLI::App* c = addCommand(
        *smbios, "export",
        "the whole table as JSON\n"
        "Written to standard output, or to FILE once it is complete: through "
        "a new file\nbeside it that replaces it. Structures that the library "
        "leaves out are listed\non standard error.",
        [exported] { return exportTable(*exported); });
    addTableOptions(*c, exported->table);
    c->add_option("--output", exported->output, "where to write it")
        ->type_name("FILE");
    c->add_flag("--strict", exported->strict,
                "exit with 1 when a structure is left out");

    auto listed = std::make_shared<ListOptions>();
    c = addCommand(*smbios, "list",
                   "one line per structure: handle, type, type name, whole "
                   "size",
                   [listed] { return list(*listed); });
    addTableOptions(*c, listed->table);
    c->add_option("--type", listed->type, kTypeHelp)->type_name("N|KEYWORD");

    addSmbiosViews(*smbios);
    addTableCommand(*smbios, "service-tag",
                    "the system's service tag (its serial number)", serviceTag);
    addTableCommand(*smbios, "system-name",
                    "the system's name (an OEM string, else the product name)",
                    systemName);
    addTableCommand(*smbios, "bios",
                    "BIOS version and release, product name, serial number\n"
                    "A release that the BIOS structure is too short to hold "
                    "is marked as such.",
                    bios);

    auto mapped = std::make_shared<FqddOptions>();
    c = addCommand(*smbios, "fqdd",
                   "the device-descriptor map of the type-225 structures\n"
                   "One line per entry: mapped handle, index of its type-225 "
                   "structure,\nentry bytes 0 and 3, and that structure's "
                   "string numbered by byte 0.",
                   [mapped] { return fqdd(*mapped); });
    c->add_option("HANDLE", mapped->handle, "only the entry of this handle");
    addTableOptions(*c, mapped->table);

    addSmbiosTableCommands(*smbios);
}

} // namespace qvmcli
