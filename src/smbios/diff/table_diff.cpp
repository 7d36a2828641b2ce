#include "smbios/diff/table_diff.hpp"

#include "common/handles.hpp"
#include "common/text.hpp"
#include "fields/json_text.hpp"
#include "smbios/view/faithful_sink.hpp"
#include "smbios/view/faithful_view.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <json-c/json.h>

namespace qvm::smbios
{
namespace
{

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Three-way comparisons of what pairs two structures. Written out rather
// than through std::tuple or std::vector's operators, whose instantiations
// would join the shared object's exported names.
int compareNumbers(unsigned a, unsigned b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int compareNames(const StructureFields& a, const StructureFields& b)
{
    const std::size_t n =
        std::min(a.designations.size(), b.designations.size());
    for (std::size_t i = 0; i < n; ++i)
        if (const int c = a.designations[i].compare(b.designations[i]); c != 0)
            return c < 0 ? -1 : 1;
    return compareNumbers(static_cast<unsigned>(a.designations.size()),
                          static_cast<unsigned>(b.designations.size()));
}

int byType(const StructureFields& a, const StructureFields& b)
{
    return compareNumbers(a.type, b.type);
}

int byHandleAndType(const StructureFields& a, const StructureFields& b)
{
    const int c = compareNumbers(a.handle, b.handle);
    return c != 0 ? c : byType(a, b);
}

int byTypeAndNames(const StructureFields& a, const StructureFields& b)
{
    const int c = byType(a, b);
    return c != 0 ? c : compareNames(a, b);
}

int byHandleTypeAndNames(const StructureFields& a, const StructureFields& b)
{
    const int c = byHandleAndType(a, b);
    return c != 0 ? c : compareNames(a, b);
}

bool named(const StructureFields& s)
{
    return std::any_of(s.designations.begin(), s.designations.end(),
                       [](const std::string& name) { return !name.empty(); });
}

using Compare = int (*)(const StructureFields&, const StructureFields&);

// Which structure of after each structure of before is paired with.
class Pairing
{
  public:
    Pairing(std::span<const StructureFields> before,
            std::span<const StructureFields> after)
        : before_(before), after_(after), toAfter_(before.size(), kNone),
          taken_(after.size(), false)
    {
    }

    // Among the unpaired structures that eligible admits, pairs those that
    // compare equal, the first of one side with the first of the other:
    // sorted, so that a table of any size pairs in n log n.
    template <typename Eligible> void pass(Compare compare, Eligible eligible)
    {
        std::vector<std::size_t> a;
        std::vector<std::size_t> b;
        for (std::size_t i = 0; i < before_.size(); ++i)
            if (toAfter_[i] == kNone && eligible(before_[i]))
                a.push_back(i);
        for (std::size_t j = 0; j < after_.size(); ++j)
            if (!taken_[j] && eligible(after_[j]))
                b.push_back(j);
        sortBy(a, before_, compare);
        sortBy(b, after_, compare);
        for (std::size_t i = 0, j = 0; i < a.size() && j < b.size();)
        {
            const int c = compare(before_[a[i]], after_[b[j]]);
            if (c == 0)
            {
                toAfter_[a[i]] = b[j];
                taken_[b[j]] = true;
            }
            i += c <= 0;
            j += c >= 0;
        }
    }

    // Unpaired structures of each type on one side (0: before, 1: after).
    std::array<std::size_t, 256> unpaired(int side) const
    {
        std::array<std::size_t, 256> count{};
        if (side == 0)
            for (std::size_t i = 0; i < before_.size(); ++i)
                count[before_[i].type] += toAfter_[i] == kNone;
        else
            for (std::size_t j = 0; j < after_.size(); ++j)
                count[after_[j].type] += !taken_[j];
        return count;
    }

    std::size_t toAfter(std::size_t i) const { return toAfter_[i]; }
    bool taken(std::size_t j) const { return taken_[j]; }

  private:
    static void sortBy(std::vector<std::size_t>& places,
                       std::span<const StructureFields> side, Compare compare)
    {
        std::sort(places.begin(), places.end(),
                  [&](std::size_t x, std::size_t y)
                  {
                      const int c = compare(side[x], side[y]);
                      return c != 0 ? c < 0 : x < y;
                  });
    }

    std::span<const StructureFields> before_;
    std::span<const StructureFields> after_;
    std::vector<std::size_t> toAfter_;
    std::vector<bool> taken_;
};

void pairStructures(Pairing& pairing)
{
    const auto any = [](const StructureFields&) { return true; };
    // The same structure, in the same place.
    pairing.pass(byHandleTypeAndNames, any);
    // Moved: its type and its names tell it.
    pairing.pass(byTypeAndNames, named);
    // Renamed in place.
    pairing.pass(byHandleAndType, any);
    // The only one of its type left on either side.
    const auto before = pairing.unpaired(0);
    const auto after = pairing.unpaired(1);
    pairing.pass(byType, [&](const StructureFields& s)
                 { return before[s.type] == 1 && after[s.type] == 1; });
}

// How many fields before fields[i] share its key: repeated keys pair in
// order.
std::size_t occurrence(const Fields& fields, std::size_t i)
{
    std::size_t n = 0;
    for (std::size_t j = 0; j < i; ++j)
        n += fields[j].first == fields[i].first;
    return n;
}

// The value of the n-th field under key, or null.
const std::string* find(const Fields& fields, const std::string& key,
                        std::size_t n)
{
    for (const auto& [k, value] : fields)
        if (k == key && n-- == 0)
            return &value;
    return nullptr;
}

// The formatted area's length first: a longer structure is what a newer
// layout looks like, before the fields it brings.
std::vector<FieldChange> fieldChanges(const StructureFields& a,
                                      const StructureFields& b)
{
    std::vector<FieldChange> changes;
    if (a.length != b.length)
        changes.push_back(
            {"length", decimalString(a.length), decimalString(b.length)});
    const Fields& before = a.fields;
    const Fields& after = b.fields;
    for (std::size_t i = 0; i < before.size(); ++i)
    {
        const auto& [key, value] = before[i];
        const std::string* now = find(after, key, occurrence(before, i));
        if (now == nullptr)
            changes.push_back({key, value, std::nullopt});
        else if (*now != value)
            changes.push_back({key, value, *now});
    }
    for (std::size_t i = 0; i < after.size(); ++i)
        if (find(before, after[i].first, occurrence(after, i)) == nullptr)
            changes.push_back({after[i].first, std::nullopt, after[i].second});
    return changes;
}

// A JSON string of text that is valid UTF-8 whatever text holds.
std::string quoted(const std::string& text)
{
    const JsonPtr string(
        json_object_new_string_len(text.data(), static_cast<int>(text.size())));
    const HeapString strict(strictJsonCopy(json_object_to_json_string_ext(
        string.get(),
        JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE)));
    return strict ? strict.get() : "\"\"";
}

std::string handleText(std::uint16_t handle)
{
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "0x%04X", handle);
    return text.data();
}

// "type 17"; snprintf rather than std::to_string, whose digit table would
// join the shared object's exported names.
std::string typeText(std::uint8_t type)
{
    std::array<char, 12> text{};
    std::snprintf(text.data(), text.size(), "type %u", unsigned{type});
    return text.data();
}

const StructureFields& subject(const StructureChange& change)
{
    return change.before != nullptr ? *change.before : *change.after;
}

std::string firstName(const StructureFields& s)
{
    return s.designations.empty() ? std::string() : s.designations.front();
}

// 0x1102 type 17 Memory Device "DIMM A1"
std::string prefix(const StructureFields& s)
{
    std::string text = handleText(s.handle) + " " + typeText(s.type) + " " +
                       structureName(s.type);
    if (!firstName(s).empty())
        text.append(" ").append(quoted(firstName(s)));
    return text;
}

const char* changeName(const StructureChange& change)
{
    if (change.before == nullptr)
        return "added";
    return change.after == nullptr ? "removed" : "changed";
}

json_object* valueOf(const std::string& text)
{
    return json_tokener_parse(text.c_str());
}

json_object* changeObject(const StructureChange& change)
{
    const StructureFields& s = subject(change);
    json_object* object = json_object_new_object();
    json_object_object_add(object, "change",
                           json_object_new_string(changeName(change)));
    json_object_object_add(object, "handle", json_object_new_int(s.handle));
    json_object_object_add(object, "type", json_object_new_int(s.type));
    json_object_object_add(object, "name",
                           json_object_new_string(structureName(s.type)));
    if (!firstName(s).empty())
        json_object_object_add(object, "designation",
                               json_object_new_string(firstName(s).c_str()));
    if (change.moved())
        json_object_object_add(object, "moved_to",
                               json_object_new_int(change.after->handle));
    json_object* fields = json_object_new_array();
    for (const FieldChange& field : change.fields)
    {
        json_object* entry = json_object_new_object();
        json_object_object_add(entry, "key",
                               json_object_new_string(field.key.c_str()));
        if (field.before)
            json_object_object_add(entry, "before", valueOf(*field.before));
        if (field.after)
            json_object_object_add(entry, "after", valueOf(*field.after));
        json_object_array_add(fields, entry);
    }
    json_object_object_add(object, "fields", fields);
    return object;
}

} // namespace

std::vector<StructureChange> diffTables(std::span<const StructureFields> before,
                                        std::span<const StructureFields> after)
{
    Pairing pairing(before, after);
    pairStructures(pairing);
    std::vector<StructureChange> changes;
    for (std::size_t i = 0; i < before.size(); ++i)
    {
        const std::size_t j = pairing.toAfter(i);
        if (j == kNone)
        {
            changes.push_back({&before[i], nullptr, {}});
            continue;
        }
        StructureChange change{&before[i], &after[j],
                               fieldChanges(before[i], after[j])};
        if (change.moved() || !change.fields.empty())
            changes.push_back(std::move(change));
    }
    for (std::size_t j = 0; j < after.size(); ++j)
        if (!pairing.taken(j))
            changes.push_back({nullptr, &after[j], {}});
    return changes;
}

std::string changesText(std::span<const StructureChange> changes)
{
    std::string text;
    for (const StructureChange& change : changes)
    {
        const std::string head = prefix(subject(change)) + ": ";
        if (change.before == nullptr || change.after == nullptr)
            text += head + changeName(change) + "\n";
        if (change.moved())
            text += head + "moved to handle " +
                    handleText(change.after->handle) + "\n";
        for (const FieldChange& field : change.fields)
            text += head + field.key + " " + field.before.value_or("(none)") +
                    " \u2192 " + field.after.value_or("(none)") + "\n";
    }
    return text;
}

std::string changesJson(std::span<const StructureChange> changes)
{
    std::array<int, 3> counts{}; // added, removed, changed
    const JsonPtr list(json_object_new_array());
    for (const StructureChange& change : changes)
    {
        ++counts[change.before == nullptr  ? 0
                 : change.after == nullptr ? 1
                                           : 2];
        json_object_array_add(list.get(), changeObject(change));
    }
    const JsonPtr document(json_object_new_object());
    json_object_object_add(document.get(), "added",
                           json_object_new_int(counts[0]));
    json_object_object_add(document.get(), "removed",
                           json_object_new_int(counts[1]));
    json_object_object_add(document.get(), "changed",
                           json_object_new_int(counts[2]));
    json_object_object_add(document.get(), "changes",
                           json_object_get(list.get()));
    const HeapString strict(strictJsonCopy(json_object_to_json_string_ext(
        document.get(),
        JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE)));
    return strict ? strict.get() : "";
}

} // namespace qvm::smbios
