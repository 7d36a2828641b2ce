// The table linter's checks. The walk goes through TableView like every
// other reader; where it stops early, the spot is looked at once more to
// say why, through a StructureView of its own.
#include "smbios/lint/findings.hpp"
#include "smbios/lint/structure_rules.hpp"
#include "smbios/table_view.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::uint16_t kNotProvided = 0xFFFE;

template <typename... Args>
std::string sentence(const char* pattern, Args... args)
{
    std::array<char, 192> buffer{};
    std::snprintf(buffer.data(), buffer.size(), pattern, args...);
    return buffer.data();
}

bool allZero(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](std::uint8_t b) { return b == 0; });
}

struct Structure
{
    const TableEntry* entry;
    decode::SmbiosVersion version;
    std::vector<Finding>* out;

    const StructureView& view() const { return entry->view; }
    bool holds(std::size_t offset, std::size_t width) const
    {
        return offset + width <= view().length();
    }
    void add(Severity severity, std::size_t offset, std::string text) const
    {
        out->push_back({severity, view().handle(), view().type(),
                        entry->offset + offset, std::move(text)});
    }
};

// Strings in the set, counting an empty first one; sets "\0\0" hold none.
struct StringSet
{
    unsigned count = 0;
    bool emptyFirst = false;
};

StringSet stringSet(const TableEntry& entry)
{
    StringSet set;
    const auto whole = entry.view.whole();
    const std::size_t start = entry.view.length();
    if (whole.size() < start + 2 ||
        (whole[start] == 0 && whole[start + 1] == 0))
        return set;
    set.emptyFirst = whole[start] == 0;
    // The set ends with its second NUL in a row, the last byte of whole.
    for (std::size_t i = start; i + 1 < whole.size(); ++i)
        set.count += whole[i] == 0;
    return set;
}

void checkLength(const Structure& s)
{
    const std::uint8_t type = s.view().type();
    const std::uint8_t length = s.view().length();
    const rules::MinimumLength* rule = nullptr;
    for (const auto& row : rules::all().minimumLengths)
    {
        if (row.type == type &&
            s.version.atLeast(row.since.major, row.since.minor))
            rule = &row;
    }
    if (rule != nullptr && length < rule->minimum)
        s.add(Severity::Error, 1,
              sentence("length %u is below the %u bytes of this type in "
                       "SMBIOS %u.%u",
                       length, rule->minimum, s.version.major,
                       s.version.minor));
    for (const auto& row : rules::all().fixedLengths)
    {
        if (row.type == type && length > row.length)
            s.add(Severity::Warning, 1,
                  sentence("length %u is above the %u bytes this type always "
                           "has",
                           length, row.length));
    }
}

void checkStrings(const Structure& s)
{
    const StringSet set = stringSet(*s.entry);
    if (set.emptyFirst)
        s.add(Severity::Error, s.view().length(),
              "the string set starts with an empty string, which ends it "
              "for readers");
    for (const auto& row : rules::all().stringFields)
    {
        if (row.type != s.view().type() || !s.holds(row.offset, 1))
            continue;
        const unsigned number = s.view().byte(row.offset);
        if (number > set.count)
            s.add(Severity::Error, row.offset,
                  sentence("string number %u is past the %u strings of the "
                           "structure",
                           number, set.count));
    }
}

void checkValues(const Structure& s)
{
    const std::uint8_t type = s.view().type();
    for (const auto& row : rules::all().enumerations)
    {
        if (row.type != type || !s.holds(row.offset, 1))
            continue;
        const std::uint8_t code = s.view().byte(row.offset) & row.mask;
        if (decode::findText(row.table, code) == nullptr)
            s.add(Severity::Warning, row.offset,
                  sentence("%s 0x%02X is outside the defined codes", row.name,
                           code));
    }
    for (const auto& row : rules::all().reservedBits)
    {
        if (row.type != type || !s.holds(row.offset, row.width))
            continue;
        const std::uint32_t value =
            static_cast<std::uint32_t>(s.view().dword(row.offset)) &
            (row.width == 4 ? 0xFFFFFFFFu : (1u << (8 * row.width)) - 1);
        if ((value & row.mask) != 0)
            s.add(Severity::Warning, row.offset,
                  sentence("%s 0x%X sets reserved bits 0x%X", row.name, value,
                           value & row.mask));
    }
}

// The BIOS release bytes are the firmware's own release; readers that
// took them for the SMBIOS version have gated fields on them.
void checkBiosRelease(const Structure& s)
{
    constexpr std::size_t kMajor = 0x14;
    constexpr std::size_t kMinor = 0x15;
    if (s.view().type() != 0 || !s.holds(kMajor, 2))
        return;
    const unsigned major = s.view().byte(kMajor);
    const unsigned minor = s.view().byte(kMinor);
    if (major == 0xFF || (major == s.version.major && minor == s.version.minor))
        return;
    s.add(Severity::Note, kMajor,
          sentence("the BIOS release bytes say %u.%u where the table is "
                   "SMBIOS %u.%u",
                   major, minor, s.version.major, s.version.minor));
}

// Why the walk stopped at offset before an end-of-table structure; nothing
// for trailing zero bytes, which the missing end-of-table finding covers.
void explainStop(std::span<const std::uint8_t> table, std::size_t offset,
                 std::vector<Finding>& out)
{
    const auto rest = table.subspan(offset);
    if (allZero(rest))
        return;
    if (rest.size() < kHeaderSize)
    {
        out.push_back({Severity::Error, std::nullopt, std::nullopt, offset,
                       "the table ends inside a structure header"});
        return;
    }
    const StructureView view(rest);
    if (!view.valid())
    {
        // Not a structure, so its handle and type bytes mean nothing.
        out.push_back({Severity::Error, std::nullopt, std::nullopt, offset,
                       "a length byte is below the 4 bytes of the header"});
        return;
    }
    std::string text;
    if (view.length() > rest.size())
        text = sentence("length %u runs past the end of the table",
                        static_cast<unsigned>(view.length()));
    else if (!view.lookup(0).next)
        text = "the string set is not terminated inside the table";
    else
        text = "the structure is longer than 65535 bytes";
    out.push_back(
        {Severity::Error, view.handle(), view.type(), offset, std::move(text)});
}

// Each structure's handle in the high half and its place in the table in
// the low one, sorted: equal handles follow each other in table order.
using HandleIndex = std::vector<std::uint64_t>;

std::uint16_t handleOf(std::uint64_t key)
{
    return static_cast<std::uint16_t>(key >> 32);
}
std::size_t placeOf(std::uint64_t key)
{
    return static_cast<std::size_t>(key & 0xFFFFFFFFu);
}

HandleIndex indexHandles(const std::vector<TableEntry>& entries)
{
    HandleIndex index;
    index.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        index.push_back(std::uint64_t{entries[i].view.handle()} << 32 | i);
    std::sort(index.begin(), index.end());
    return index;
}

void checkDuplicates(const std::vector<TableEntry>& entries,
                     const HandleIndex& index, std::vector<Finding>& out)
{
    for (std::size_t i = 1; i < index.size(); ++i)
    {
        if (handleOf(index[i]) != handleOf(index[i - 1]))
            continue;
        const TableEntry& entry = entries[placeOf(index[i])];
        out.push_back({Severity::Error, entry.view.handle(), entry.view.type(),
                       entry.offset + 2,
                       sentence("handle 0x%04X is already taken by an "
                                "earlier structure",
                                entry.view.handle())});
    }
}

// The first structure with the handle.
const TableEntry* byHandle(const std::vector<TableEntry>& entries,
                           const HandleIndex& index, std::uint16_t handle)
{
    const auto found = std::lower_bound(index.begin(), index.end(),
                                        std::uint64_t{handle} << 32);
    return found != index.end() && handleOf(*found) == handle
               ? &entries[placeOf(*found)]
               : nullptr;
}

void checkReferences(const std::vector<TableEntry>& entries,
                     const HandleIndex& index, const Structure& s)
{
    for (const auto& row : rules::all().references)
    {
        if (row.type != s.view().type() || !s.holds(row.offset, 2))
            continue;
        const std::uint16_t handle = s.view().word(row.offset);
        if (handle == kNoHandle || (row.notProvided && handle == kNotProvided))
            continue;
        const TableEntry* target = byHandle(entries, index, handle);
        const bool fits =
            target != nullptr && (target->view.type() == row.target ||
                                  target->view.type() == row.alsoTarget);
        if (!fits)
            s.add(Severity::Error, row.offset,
                  sentence("the %s handle 0x%04X names no structure of type "
                           "%u",
                           row.name, handle, row.target));
    }
}

void checkRequired(const std::vector<TableEntry>& entries,
                   decode::SmbiosVersion version, std::vector<Finding>& out)
{
    for (const auto& row : rules::all().requiredTypes)
    {
        if (!version.atLeast(row.since.major, row.since.minor))
            continue;
        const bool present = std::any_of(entries.begin(), entries.end(),
                                         [&](const auto& e)
                                         { return e.view.type() == row.type; });
        if (!present)
            out.push_back(
                {Severity::Warning, std::nullopt, row.type, 0,
                 sentence("no %s structure (type %u), which SMBIOS %u.%u "
                          "requires",
                          row.name, row.type, version.major, version.minor)});
    }
}

} // namespace

std::vector<Finding> lintTable(std::span<const std::uint8_t> table,
                               decode::SmbiosVersion version)
{
    std::vector<Finding> out;
    std::vector<TableEntry> entries; // up to the end-of-table structure
    bool ended = false;
    std::size_t walked = 0;
    for (const auto& entry : TableView(table))
    {
        walked = entry.offset + entry.size;
        if (ended)
        {
            out.push_back({Severity::Warning, entry.view.handle(),
                           entry.view.type(), entry.offset,
                           "structure after the end-of-table structure"});
            continue;
        }
        entries.push_back(entry);
        ended = entry.view.type() == kEndOfTable;
    }
    const HandleIndex index = indexHandles(entries);
    for (const auto& entry : entries)
    {
        const Structure s{&entry, version, &out};
        checkLength(s);
        checkStrings(s);
        checkValues(s);
        checkBiosRelease(s);
        checkReferences(entries, index, s);
    }
    if (!ended)
    {
        if (walked < table.size())
            explainStop(table, walked, out);
        out.push_back({Severity::Error, std::nullopt, std::nullopt, walked,
                       "the table has no end-of-table structure (type 127)"});
    }
    checkDuplicates(entries, index, out);
    checkRequired(entries, version, out);
    return out;
}

} // namespace qvm::smbios
