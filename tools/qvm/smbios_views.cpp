// qvm smbios show and get: the library's decoded objects, picked by type
// keyword or handle, and single values by dmidecode's string keywords.
#include "cli.hpp"
#include "handles.hpp"
#include "smbios/view/faithful_view.hpp"
#include "smbios/view/keywords.hpp"
#include "smbios_commands.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

// The string keywords, in lines of at most width characters.
std::string keywordList(std::size_t width = SIZE_MAX)
{
    std::string out;
    std::size_t lineStart = 0;
    for (const auto& k : qvm::smbios::stringKeywords())
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
    GivenVersion version;
    std::vector<std::string> types;
    bool lines = false;
    bool library = false;
};

struct GetOptions
{
    TableChoice table;
    GivenVersion version;
    std::string keyword;
    std::string oemString;
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
                         const std::vector<core::TableEntry>& chosen,
                         bool lines)
{
    std::size_t leftOut = 0;
    bool first = true;
    if (!lines)
        std::fputs("[", stdout);
    for (const core::TableEntry& e : chosen)
    {
        const auto object = core::structureJson(walk, e);
        if (object.status != QVM_RC_SUCCESS)
        {
            warn(title, nameOf(e) +
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
            const auto found = std::ranges::find_if(
                walk.structures(), [&](const core::TableEntry& e)
                { return e.view.handle() == handle; });
            if (found == walk.structures().end())
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
std::vector<core::TableEntry> ofTypes(const core::Walk& walk,
                                      const std::vector<uint8_t>& types)
{
    std::vector<core::TableEntry> chosen;
    for (const core::TableEntry& e : walk.structures())
        if (std::find(types.begin(), types.end(), e.view.type()) != types.end())
            chosen.push_back(e);
    return chosen;
}

// The faithful view of the structures that pick chooses, as one JSON
// array, or one compact object a line; a single one alone when asked for
// by handle.
template <typename Pick>
int printFaithful(const std::string& title, const ShowOptions& o,
                  std::uint64_t handle, const TableSource& source,
                  const core::Walk& walk, Pick pick)
{
    const auto& table = walk.loaded->context().table;
    const auto all = qvm::smbios::faithfulStructures(
        table, tableVersion(source, table, o.version).version);
    std::vector<std::string> chosen;
    for (const auto& structure : all)
        if (pick(structure))
            chosen.push_back(o.lines ? compact(structure.json())
                                     : structure.json());
    if (chosen.empty())
        return failWith(title,
                        o.handle.empty()
                            ? "the table has no structure of those types"
                            : "no structure with handle " + handleText(handle));
    if (o.lines || !o.handle.empty())
    {
        for (const auto& text : chosen)
            std::printf("%s\n", text.c_str());
        return kExitOk;
    }
    std::fputs("[", stdout);
    for (std::size_t i = 0; i < chosen.size(); ++i)
        std::printf("%s\n%s", i == 0 ? "" : ",", chosen[i].c_str());
    std::fputs("\n]\n", stdout);
    return kExitOk;
}

int show(const ShowOptions& o)
{
    const std::string title = "smbios show";
    if (o.handle.empty() == o.types.empty())
        throw UsageError{"give either a HANDLE or --type"};
    const std::vector<uint8_t> types = typesOf(o.types);
    if (o.library && o.version)
        throw UsageError{"--smbios-version reads the faithful view, which "
                         "--library does not write"};
    if (!o.library)
    {
        const auto handle =
            o.handle.empty() ? 0 : parseNumber(o.handle, kLastHandle, "HANDLE");
        return withTable(
            title, o.table,
            [&](const TableSource& source, const core::Walk& walk)
            {
                return printFaithful(
                    o.handle.empty() ? title : title + " " + o.handle, o,
                    handle, source, walk,
                    [&](const qvm::smbios::FaithfulStructure& s)
                    {
                        return o.handle.empty()
                                   ? std::find(types.begin(), types.end(),
                                               s.type) != types.end()
                                   : s.handle == handle;
                    });
            },
            Reach::everyStructure);
    }
    if (!o.handle.empty())
        return showHandle(title + " " + o.handle, o);
    return withTable(title, o.table,
                     [&](const TableSource&, const core::Walk& walk)
                     {
                         const auto chosen = ofTypes(walk, types);
                         if (chosen.empty())
                             warn(title, "the table has no structure of "
                                         "type " +
                                             o.types.front());
                         const std::size_t leftOut =
                             printObjects(title, walk, chosen, o.lines);
                         return o.table.strict && leftOut > 0 ? kExitFailed
                                                              : kExitOk;
                     });
}

const qvm::smbios::Keyword& stringKeyword(const std::string& name)
{
    if (const auto* k = qvm::smbios::findKeyword(name))
        return *k;
    throw UsageError{"unknown keyword '" + name + "'; it takes one of " +
                     keywordList()};
}

// The OEM string number that --oem-string TEXT names; 0 asks for the count.
std::uint8_t oemStringNumber(const std::string& text)
{
    if (text == "count")
        return 0;
    char* end = nullptr;
    const unsigned long number = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number == 0 || number > 255)
        throw UsageError{"Invalid OEM string number: " + text};
    return static_cast<std::uint8_t>(number);
}

// Lines as they are, the decoder's own words without the tool's prefix.
void print(const qvm::smbios::Answer& a)
{
    for (const auto& line : a.out)
        std::printf("%s\n", line.c_str());
    for (const auto& line : a.err)
        std::fprintf(stderr, "%s\n", line.c_str());
}

int get(const GetOptions& o)
{
    if (o.keyword.empty() == o.oemString.empty())
        throw UsageError{"give either a KEYWORD or --oem-string"};
    const std::string title =
        "smbios get " +
        (o.keyword.empty() ? "--oem-string " + o.oemString : o.keyword);
    const qvm::smbios::Keyword* k =
        o.keyword.empty() ? nullptr : &stringKeyword(o.keyword);
    const std::uint8_t oem = k ? 0 : oemStringNumber(o.oemString);
    return withTable(
        title, o.table,
        [&](const TableSource& source, const core::Walk& walk)
        {
            const auto& table = walk.loaded->context().table;
            print(k ? qvm::smbios::answer(
                          table.bytes(),
                          tableVersion(source, table, o.version).version, *k)
                    : qvm::smbios::answerOemString(table.bytes(), oem));
            return kExitOk;
        },
        Reach::everyStructure);
}

} // namespace

std::vector<uint8_t> typesOf(const std::vector<std::string>& texts)
{
    std::vector<uint8_t> types;
    for (const std::string& text : texts)
    {
        std::size_t start = 0;
        for (std::size_t comma = 0; comma != std::string::npos;
             start = comma + 1)
        {
            comma = text.find(',', start);
            const std::string word = text.substr(start, comma - start);
            const auto named = qvm::smbios::typesOfKeyword(word);
            if (!named.empty())
            {
                types.insert(types.end(), named.begin(), named.end());
                continue;
            }
            try
            {
                types.push_back(
                    static_cast<uint8_t>(parseNumber(word, 255, "--type")));
            }
            catch (const UsageError&)
            {
                throw UsageError{"--type takes " + std::string(kTypeHelp) +
                                 ", not '" + word + "'"};
            }
        }
    }
    return types;
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
        "One JSON array of the structures' faithful view in table order (one "
        "object for\na HANDLE); --library writes the library's export objects "
        "instead, and lists\non standard error the structures it leaves out. "
        "--lines writes one compact\nobject a line.",
        [show] { return qvmcli::show(*show); });
    c.argument("HANDLE", show->handle, "the structure's handle", false);
    c.texts("--type", show->types, kTypeHelp, "N|KEYWORD");
    c.flag("--library", show->library,
           "the library's export objects instead of the faithful view");
    c.flag("--lines", show->lines, "one compact JSON object a line");
    addTableOptions(c, show->table);
    addVersionOption(c, show->version);

    auto get = std::make_shared<GetOptions>();
    c = smbios.command("get",
                       "one value by dmidecode's string keyword, one line per "
                       "structure\nPrints what dmidecode -s prints for the "
                       "same table, read as its\nentry point's SMBIOS version "
                       "says, else as --smbios-version gives.\nKEYWORD is one "
                       "of:\n" +
                           keywordList(76) + ".",
                       [get] { return qvmcli::get(*get); });
    c.argument("KEYWORD", get->keyword, "what to print", false);
    c.text("--oem-string", get->oemString,
           "OEM string N (1-255) of every OEM strings structure, or their "
           "count",
           "N");
    addTableOptions(c, get->table);
    addVersionOption(c, get->version);
}

} // namespace qvmcli
