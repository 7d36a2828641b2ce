// qvm smbios show and get: the library's decoded objects, picked by type
// keyword or handle, and single values by dmidecode's string keywords.
#include "cli.hpp"
#include "handles.hpp"
#include "smbios_commands.hpp"
#include "smbios_structures.hpp"
#include "smbios_table.hpp"

#include <CLI/CLI.hpp>
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
    bool strict = false;
};

struct GetOptions
{
    TableChoice table;
    std::string keyword;
};

// Prints each structure's object; those the library cannot convert are
// listed on stderr instead.
int printObjects(const std::vector<Structure>& structures, bool strict)
{
    const Converter convert;
    std::size_t leftOut = 0;
    for (const Structure& s : structures)
    {
        const auto object = convert(s);
        if (object.status == QVM_RC_SUCCESS)
            std::printf("%s\n", object.text.c_str());
        else
            reportLeftOut(s, object.status);
        leftOut += object.status == QVM_RC_SUCCESS ? 0 : 1;
    }
    return strict && leftOut > 0 ? kExitFailed : kExitOk;
}

int showHandle(const std::string& title, const ShowOptions& o)
{
    auto handle =
        static_cast<uint16_t>(parseNumber(o.handle, kLastHandle, "HANDLE"));
    return withTable(
        title, o.table,
        [&](const TableSource&)
        {
            uint8_t* at = nullptr;
            uint16_t size = 0;
            const int64_t rc = SmbiosGetStructure(&handle, &at, &size);
            if (rc != QVM_RC_SUCCESS)
                return fail(title, rc);
            const Converter convert;
            const auto object = convert({at, size});
            if (object.status != QVM_RC_SUCCESS)
                return failWith(title, "the library cannot convert " +
                                           nameOf({at, size}) + ": " +
                                           statusText(object.status));
            std::printf("%s\n", object.text.c_str());
            return kExitOk;
        });
}

int show(const ShowOptions& o)
{
    const std::string title = "smbios show";
    if (o.handle.empty() == o.type.empty())
        throw UsageError{"give either a HANDLE or --type"};
    if (!o.handle.empty())
        return showHandle(title + " " + o.handle, o);
    const std::vector<uint8_t> types = typesOf(o.type);
    return withTable(title, o.table,
                     [&](const TableSource&)
                     {
                         std::vector<Structure> chosen;
                         const int64_t rc = structuresOf(types, chosen);
                         if (rc != QVM_RC_SUCCESS)
                             return fail(title, rc);
                         if (chosen.empty())
                             std::fprintf(stderr,
                                          "qvm: %s: no structure of type %s "
                                          "in the table\n",
                                          title.c_str(), o.type.c_str());
                         return printObjects(chosen, o.strict);
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
        [&](const TableSource&)
        {
            std::vector<Structure> chosen;
            if (const int64_t rc = structuresOf({k.type}, chosen); rc != 0)
                return fail(title, rc);
            const Converter convert;
            bool answered = false;
            for (const Structure& s : chosen)
            {
                const auto object = convert(s);
                const Json parsed(json_tokener_parse(object.text.c_str()));
                std::string why = "the library cannot convert it: " +
                                  statusText(object.status);
                const auto value =
                    parsed ? answer(k, parsed.get(), why) : std::nullopt;
                if (value)
                    std::printf("%s\n", value->c_str());
                else
                    std::fprintf(stderr, "qvm: %s: %s: %s\n", title.c_str(),
                                 nameOf(s).c_str(), why.c_str());
                answered = answered || value;
            }
            if (chosen.empty())
                return failWith(title, "the table holds no structure of type " +
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

void addSmbiosViews(CLI::App& smbios)
{
    auto show = std::make_shared<ShowOptions>();
    CLI::App* c = addCommand(
        smbios, "show",
        "the decoded JSON object of each structure chosen by handle or type\n"
        "One object per structure, in table order, as the library's export "
        "writes it;\nstructures that it leaves out are listed on standard "
        "error.",
        [show] { return qvmcli::show(*show); });
    c->add_option("HANDLE", show->handle, "the structure's handle");
    c->add_option("--type", show->type, kTypeHelp)->type_name("N|KEYWORD");
    c->add_flag("--strict", show->strict,
                "exit with 1 when a structure is left out");
    addTableOptions(*c, show->table);

    auto get = std::make_shared<GetOptions>();
    c = addCommand(smbios, "get",
                   "one value by dmidecode's string keyword, one line per "
                   "structure\nKEYWORD is one of:\n" +
                       keywordList(76) + ".",
                   [get] { return qvmcli::get(*get); });
    c->add_option("KEYWORD", get->keyword, "what to print")->required();
    addTableOptions(*c, get->table);
}

} // namespace qvmcli
