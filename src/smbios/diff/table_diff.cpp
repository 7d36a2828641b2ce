#include "smbios/diff/table_diff.hpp"

#include "common/handles.hpp"
#include "fields/json_text.hpp"
#include "smbios/view/faithful_sink.hpp"
#include "smbios/view/faithful_view.hpp"

#include <array>
#include <cstdio>
#include <json-c/json.h>

namespace qvm::smbios
{
namespace
{

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

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

    // Pairs each unpaired structure of before with the first unpaired one
    // of after that matches it.
    template <typename Match> void pass(Match match)
    {
        for (std::size_t i = 0; i < before_.size(); ++i)
        {
            if (toAfter_[i] != kNone)
                continue;
            for (std::size_t j = 0; j < after_.size(); ++j)
            {
                if (!taken_[j] && match(before_[i], after_[j]))
                {
                    toAfter_[i] = j;
                    taken_[j] = true;
                    break;
                }
            }
        }
    }

    // Unpaired structures of type on each side.
    std::array<std::size_t, 2> unpaired(std::uint8_t type) const
    {
        std::array<std::size_t, 2> count{};
        for (std::size_t i = 0; i < before_.size(); ++i)
            count[0] += toAfter_[i] == kNone && before_[i].type == type;
        for (std::size_t j = 0; j < after_.size(); ++j)
            count[1] += !taken_[j] && after_[j].type == type;
        return count;
    }

    std::size_t toAfter(std::size_t i) const { return toAfter_[i]; }
    bool taken(std::size_t j) const { return taken_[j]; }

  private:
    std::span<const StructureFields> before_;
    std::span<const StructureFields> after_;
    std::vector<std::size_t> toAfter_;
    std::vector<bool> taken_;
};

bool named(const StructureFields& s)
{
    for (const auto& name : s.designations)
        if (!name.empty())
            return true;
    return false;
}

void pairStructures(Pairing& pairing)
{
    // The same structure, in the same place.
    pairing.pass(
        [](const auto& a, const auto& b)
        {
            return a.handle == b.handle && a.type == b.type &&
                   a.designations == b.designations;
        });
    // Moved: its type and its names tell it.
    pairing.pass(
        [](const auto& a, const auto& b) {
            return a.type == b.type && named(a) &&
                   a.designations == b.designations;
        });
    // Renamed in place.
    pairing.pass([](const auto& a, const auto& b)
                 { return a.handle == b.handle && a.type == b.type; });
    // The only one of its type left on either side.
    pairing.pass(
        [&pairing](const auto& a, const auto& b)
        {
            const auto left = pairing.unpaired(a.type);
            return a.type == b.type && left[0] == 1 && left[1] == 1;
        });
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
        changes.push_back({"length", decimal(std::uint64_t{a.length}),
                           decimal(std::uint64_t{b.length})});
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
        text += " " + quoted(firstName(s));
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
