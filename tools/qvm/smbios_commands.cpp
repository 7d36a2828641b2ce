// qvm smbios ...: the SMBIOS table, its JSON export and identity queries.
#include "cli.hpp"
#include "files.hpp"
#include "handles.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <iterator>
#include <qvmclient.h>
#include <string>
#include <vector>

namespace qvmcli
{
namespace
{

constexpr uint16_t kLastHandle = 0xFFFE; // 0xFFFF means "none"

struct Structure
{
    uint8_t* at;
    uint16_t size;

    uint8_t type() const { return at[0]; }
    uint16_t handle() const
    {
        return static_cast<uint16_t>(at[2] | at[3] << 8);
    }
};

// The structures of one type, in table order.
int64_t structuresOfType(uint8_t type, std::vector<Structure>& out)
{
    uint8_t** structures = nullptr;
    uint16_t* sizes = nullptr;
    uint16_t count = 0;
    const int64_t rc =
        SmbiosGetStructureOfType(type, &structures, &sizes, &count);
    if (rc == QVM_RC_SUCCESS)
        for (uint16_t i = 0; i < count; ++i)
            out.push_back({structures[i], sizes[i]});
    std::free(structures);
    std::free(sizes);
    return rc == QVM_RC_NOT_FOUND ? QVM_RC_SUCCESS : rc;
}

std::string typeName(uint8_t type)
{
    const char* text = nullptr;
    QueryTable(StructureTypeInfoTable, std::size(StructureTypeInfoTable), type,
               &text);
    if (text == nullptr)
        return type >= 128 ? "OEM-specific" : "Unknown";
    std::string name = text;
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

// The export and a structure's object are written to a file by the
// library; for standard output they go through a scratch file and end with
// a newline.
int printWritten(const std::string& title,
                 const std::function<int64_t(const char*)>& write)
{
    const ScratchFile scratch;
    if (scratch.path().empty())
        return failSystem("cannot make a scratch file");
    const int64_t rc = write(scratch.path().c_str());
    if (rc != QVM_RC_SUCCESS)
        return fail(title, rc);
    std::fputs(scratch.text().c_str(), stdout);
    std::fputc('\n', stdout);
    return kExitOk;
}

int exportTable(const Args& args)
{
    return withTable(
        args,
        [&]
        {
            const std::string output = args.get("output");
            if (output.empty())
                return printWritten("smbios export", SmBiosDataToJSON);
            if (!startFresh(output))
                return failSystem("cannot write " + output);
            const int64_t rc = SmBiosDataToJSON(output.c_str());
            return rc == QVM_RC_SUCCESS ? kExitOk : fail("smbios export", rc);
        });
}

int list(const Args& args)
{
    const bool oneType = args.has("type");
    const auto only = static_cast<uint8_t>(args.number("type", 0, 255));
    return withTable(
        args,
        [&]
        {
            std::vector<Structure> all;
            for (unsigned type = 0; type <= 255; ++type)
            {
                if (oneType && type != only)
                    continue;
                const int64_t rc =
                    structuresOfType(static_cast<uint8_t>(type), all);
                if (rc != QVM_RC_SUCCESS)
                    return fail("smbios list", rc);
            }
            std::sort(all.begin(), all.end(),
                      [](const Structure& a, const Structure& b)
                      { return a.at < b.at; });
            for (const Structure& s : all)
                std::printf("0x%04X %3u  %-41s %5u\n", s.handle(), s.type(),
                            typeName(s.type()).c_str(), s.size);
            return kExitOk;
        });
}

int show(const Args& args)
{
    const auto wanted =
        static_cast<uint16_t>(parseNumber(args.at(0), kLastHandle, "HANDLE"));
    const std::string title = "smbios show " + args.at(0);
    return withTable(
        args,
        [&]
        {
            uint16_t handle = wanted;
            uint8_t* structure = nullptr;
            uint16_t size = 0;
            const int64_t rc = SmbiosGetStructure(&handle, &structure, &size);
            if (rc != QVM_RC_SUCCESS)
                return fail(title, rc);
            return printWritten(
                title, [&](const char* path)
                { return qvmSmbiosAddStructure(&structure, size, path); });
        });
}

// The identity queries take a key and hand out a heap text.
int identity(const Args& args, int64_t (*query)(const char*, char**),
             const char* key, const char* title)
{
    return withTable(args,
                     [&]
                     {
                         char* text = nullptr;
                         const int64_t rc = query(key, &text);
                         if (rc != QVM_RC_SUCCESS)
                             return fail(title, rc);
                         printAndFree(text);
                         return kExitOk;
                     });
}

int serviceTag(const Args& args)
{
    return identity(args, GetServiceTag, "SMBIOSServiceTagString",
                    "smbios service-tag");
}

int systemName(const Args& args)
{
    return identity(args, GetSystemName, "SMBIOSSystemNameString",
                    "smbios system-name");
}

const char* orNone(const char* text)
{
    return text != nullptr ? text : "(none)";
}

int bios(const Args& args)
{
    return withTable(
        args,
        [&]
        {
            SmbiosBiosInfo* info = nullptr;
            const int64_t rc = GetBiosInfo("SMBIOSBIOSInfo", &info);
            if (rc != QVM_RC_SUCCESS)
                return fail("smbios bios", rc);
            std::printf("BIOS version:  %s\n"
                        "BIOS release:  %u.%u\n"
                        "Product name:  %s\n"
                        "Serial number: %s\n",
                        orNone(info->bios_version), info->major_release,
                        info->minor_release, orNone(info->product_name),
                        orNone(info->serial_number));
            std::free(info);
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

int fqdd(const Args& args)
{
    const bool one = !args.positional.empty();
    const auto wanted =
        one ? parseNumber(args.at(0), kLastHandle, "HANDLE") : 0;
    return withTable(
        args,
        [&]
        {
            const int64_t rc = PopulateFqdds();
            if (rc != QVM_RC_SUCCESS)
                return fail("smbios fqdd", rc);
            if (!one)
            {
                for (uint16_t i = 0; i < m_countE1; ++i)
                    printEntry(m_Fqdd[i]);
                return kExitOk;
            }
            const FqddMapEntry* entry = FindFqdd(static_cast<uint32_t>(wanted));
            if (entry == nullptr)
                return fail("smbios fqdd " + args.at(0), QVM_RC_NOT_FOUND);
            printEntry(*entry);
            return kExitOk;
        });
}

} // namespace

const std::vector<Command>& smbiosCommands()
{
    // Every command reads the table given by --table, else the machine's
    // own, else the bundled sample.
    static const std::vector<Command> commands{
        {"smbios", "export", "[--table FILE] [--output FILE]",
         "the whole table as JSON\n"
         "Writes to a fresh FILE (removed first) or to standard output.",
         exportTable},
        {"smbios", "list", "[--table FILE] [--type N]",
         "one line per structure: handle, type, type name, whole size", list},
        {"smbios", "show", "HANDLE [--table FILE]",
         "the JSON object of the structure with that handle", show},
        {"smbios", "service-tag", "[--table FILE]",
         "the system's service tag (its serial number)", serviceTag},
        {"smbios", "system-name", "[--table FILE]",
         "the system's name (an OEM string, else the product name)",
         systemName},
        {"smbios", "bios", "[--table FILE]",
         "BIOS version and release, product name, serial number", bios},
        {"smbios", "fqdd", "[HANDLE] [--table FILE]",
         "the device-descriptor map of the type-225 structures\n"
         "One line per entry: mapped handle, index of its type-225 "
         "structure,\nentry bytes 0 and 3, and that structure's string "
         "numbered by byte 0.",
         fqdd},
    };
    return commands;
}

} // namespace qvmcli
