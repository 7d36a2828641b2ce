// qvm smbios show and get: the library's decoded objects, picked by type
// keyword or handle, and single values by dmidecode's string keywords.
#include "cli.hpp"
#include "handles.hpp"
#include "smbios_commands.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <json-c/json.h>
#include <memory>
#include <optional>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

// dmidecode's type keywords.
struct TypeKeyword
{
    const char* name;
    std::vector<uint8_t> types;
};
const TypeKeyword kTypeKeywords[] = {
    {"bios", {0, 13}},
    {"system", {1, 12, 15, 23, 32}},
    {"baseboard", {2, 10, 41}},
    {"chassis", {3}},
    {"processor", {4}},
    {"memory", {5, 6, 16, 17}},
    {"cache", {7}},
    {"connector", {8}},
    {"slot", {9}},
};

// dmidecode's string keywords that a member of the decoded object answers;
// a revision joins a major and a minor member. Its system-uuid (a dump) and
// chassis-type (an "Item" that later members overwrite) are not among them.
struct StringKeyword
{
    const char* name;
    uint8_t type;
    const char* key;
    const char* minorKey = nullptr;
    const char* unit = "";
};
const StringKeyword kStringKeywords[] = {
    {"bios-vendor", 0, "Vendor"},
    {"bios-version", 0, "BiosVersion"},
    {"bios-release-date", 0, "BiosReleaseDate"},
    {"bios-revision", 0, "SystemBiosMajorRelease", "SystemBiosMinorRelease"},
    {"firmware-revision", 0, "EmbeddedControllerFirmwareMajorRelease",
     "EmbeddedControllerFirmwareMinorRelease"},
    {"system-manufacturer", 1, "Manufacturer"},
    {"system-product-name", 1, "ProductName"},
    {"system-version", 1, "Version"},
    {"system-serial-number", 1, "SerialNumber"},
    {"system-sku-number", 1, "SKUNumber"},
    {"system-family", 1, "Family"},
    {"baseboard-manufacturer", 2, "Manufacturer"},
    {"baseboard-product-name", 2, "ProductName"},
    {"baseboard-version", 2, "Version"},
    {"baseboard-serial-number", 2, "SerialNumber"},
    {"baseboard-asset-tag", 2, "AssetTag"},
    {"chassis-manufacturer", 3, "Manufacturer"},
    {"chassis-version", 3, "Version"},
    {"chassis-serial-number", 3, "SerialNumber"},
    {"chassis-asset-tag", 3, "AssetTag"},
    {"processor-family", 4, "Processor Family "},
    {"processor-manufacturer", 4, "ProcessorManufacture"},
    {"processor-version", 4, "ProcessorVersion"},
    {"processor-frequency", 4, "CurrentSpeed", nullptr, " MHz"},
};

// The keywords, in lines of at most width characters.
std::string keywordList(std::size_t width = SIZE_MAX)
{
    std::string out;
    std::size_t lineStart = 0;
    for (const auto& k : kStringKeywords)
    {
        if (!out.empty())
            out += ",";
        if (!out.empty() &&
            out.size() - lineStart + std::strlen(k.name) + 1 > width)
        {
            out += "\n";
            lineStart = out.size();
        }
        else if (!out.empty())
            out += " ";
        out += k.name;
    }
    return out;
}

struct ShowOptions
{
    TableChoice table;
    std::string handle;
    std::string type;
    bool lines = false;
};

struct GetOptions
{
    TableChoice table;
    std::string keyword;
};

// The same JSON text without the blanks and line breaks between tokens.
std::string compact(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool inString = false;
    bool escaped = false;
    for (const char c : text)
    {
        if (inString)
        {
            inString = escaped || c != '"';
            escaped = !escaped && c == '\\';
        }
        else if (c == '"')
            inString = true;
        else if (c == ' ' || c == '\n' || c == '\t' || c == '\r')
            continue;
        out += c;
    }
    return out;
}

// Prints the structures' objects as one JSON array, or one compact object
// a line; those the library cannot convert are named on stderr instead.
// Returns how many were left out.
std::size_t printObjects(const std::string& title, const core::Walk& walk,
                         const std::vector<const core::TableEntry*>& chosen,
                         bool lines)
{
    std::size_t leftOut = 0;
    bool first = true;
    if (!lines)
        std::fputs("[", stdout);
    for (const core::TableEntry* e : chosen)
    {
        const auto object = core::structureJson(walk, *e);
        if (object.status != QVM_RC_SUCCESS)
        {
            warn(title, nameOf(*e) +
                            " is left out: the library cannot "
                            "convert it: " +
                            statusText(object.status));
            ++leftOut;
            continue;
        }
        if (lines)
            std::printf("%s\n", compact(object.text).c_str());
        else
            std::printf("%s\n%s", first ? "" : ",", object.text.c_str());
        first = false;
    }
    if (!lines)
        std::fputs(first ? "]\n" : "\n]\n", stdout);
    return leftOut;
}

int showHandle(const std::string& title, const ShowOptions& o)
{
    const auto handle = parseNumber(o.handle, kLastHandle, "HANDLE");
    return withTable(
        title, o.table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto found =
                std::find_if(walk.entries.begin(), walk.entries.end(),
                             [&](const core::TableEntry& e)
                             { return e.view.handle() == handle; });
            if (found == walk.entries.end())
                return failWith(title, "no structure with handle " +
                                           handleText(handle));
            const auto object = core::structureJson(walk, *found);
            if (object.status != QVM_RC_SUCCESS)
                return failWith(title, "the library cannot convert " +
                                           nameOf(*found) + ": " +
                                           statusText(object.status));
            std::printf("%s\n",
                        (o.lines ? compact(object.text) : object.text).c_str());
            return kExitOk;
        });
}

// The walk's structures of types, in table order.
std::vector<const core::TableEntry*> ofTypes(const core::Walk& walk,
                                             const std::vector<uint8_t>& types)
{
    std::vector<const core::TableEntry*> chosen;
    for (const core::TableEntry& e : walk.entries)
        if (std::find(types.begin(), types.end(), e.view.type()) != types.end())
            chosen.push_back(&e);
    return chosen;
}

int show(const ShowOptions& o)
{
    const std::string title = "smbios show";
    if (o.handle.empty() == o.type.empty())
        throw UsageError{"give either a HANDLE or --type"};
    if (!o.handle.empty())
        return showHandle(title + " " + o.handle, o);
    const std::vector<uint8_t> types = typesOf(o.type);
    return withTable(
        title, o.table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto chosen = ofTypes(walk, types);
            if (chosen.empty())
                warn(title, "the table has no structure of "
                            "type " +
                                o.type);
            const std::size_t leftOut = printObjects(title, walk, chosen, o.lines);
            return o.table.strict && leftOut > 0 ? kExitFailed : kExitOk;
        });
}

const StringKeyword& stringKeyword(const std::string& name)
{
    for (const auto& k : kStringKeywords)
        if (name == k.name)
            return k;
    throw UsageError{"unknown keyword '" + name + "'; it takes one of " +
                     keywordList()};
}

// The member key of a decoded object as text, or nothing.
std::optional<std::string> member(json_object* object, const char* key)
{
    json_object* value = nullptr;
    if (key == nullptr || !json_object_object_get_ex(object, key, &value))
        return std::nullopt;
    return std::string(json_object_get_string(value));
}

// The keyword's value in one decoded object; why not, when it has none.
std::optional<std::string> answer(const StringKeyword& k, json_object* object,
                                  std::string& why)
{
    auto value = member(object, k.key);
    const auto minor = member(object, k.minorKey);
    if (value && (k.minorKey == nullptr || minor))
        return *value + (minor ? "." + *minor : "") + k.unit;
    why = member(object, "Generic") ? "the library does not decode this type"
                                    : "the structure does not hold it";
    return std::nullopt;
}

int get(const GetOptions& o)
{
    const std::string title = "smbios get " + o.keyword;
    const StringKeyword& k = stringKeyword(o.keyword);
    return withTable(
        title, o.table,
        [&](const TableSource&, const core::Walk& walk)
        {
            const auto chosen = ofTypes(walk, {k.type});
            bool answered = false;
            for (const core::TableEntry* e : chosen)
            {
                const auto object = core::structureJson(walk, *e);
                const Json parsed(json_tokener_parse(object.text.c_str()));
                std::string why = "the library cannot convert it: " +
                                  statusText(object.status);
                const auto value =
                    parsed ? answer(k, parsed.get(), why) : std::nullopt;
                if (value)
                    std::printf("%s\n", value->c_str());
                else
                    warn(title, nameOf(*e) + ": " + why);
                answered = answered || value;
            }
            if (chosen.empty())
                return failWith(title, "the table has no structure of type " +
                                           std::to_string(k.type));
            return answered ? kExitOk : kExitFailed;
        });
}

} // namespace

std::vector<uint8_t> typesOf(const std::string& text)
{
    for (const auto& k : kTypeKeywords)
        if (text == k.name)
            return k.types;
    try
    {
        return {static_cast<uint8_t>(parseNumber(text, 255, "--type"))};
    }
    catch (const UsageError&)
    {
        throw UsageError{"--type takes " + std::string(kTypeHelp) + ", not '" +
                         text + "'"};
    }
}

std::string handleText(uint64_t handle)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04llX",
                  static_cast<unsigned long long>(handle));
    return text;
}

void addSmbiosViews(Command& smbios)
{
    auto show = std::make_shared<ShowOptions>();
    Command c = smbios.command(
        "show",
        "the decoded JSON objects of the structures chosen by handle or type\n"
        "One JSON array of objects in table order, as the library's export "
        "writes each\n(one object for a HANDLE); --lines writes one compact "
        "object a line instead.\nStructures that the library leaves out are "
        "listed on standard error.",
        [show] { return qvmcli::show(*show); });
    c.argument("HANDLE", show->handle, "the structure's handle", false);
    c.text("--type", show->type, kTypeHelp, "N|KEYWORD");
    c.flag("--lines", show->lines, "one compact JSON object a line");
    addTableOptions(c, show->table);

    auto get = std::make_shared<GetOptions>();
    c = smbios.command("get",
                       "one value by dmidecode's string keyword, one line per "
                       "structure\nKEYWORD is one of:\n" +
                           keywordList(76) + ".",
                       [get] { return qvmcli::get(*get); });
    c.argument("KEYWORD", get->keyword, "what to print", true);
    addTableOptions(c, get->table);
}

} // namespace qvmcli
