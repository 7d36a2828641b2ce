#include "fields/plain_object.hpp"

#include "common/text.hpp"
#include "fields/field_string.hpp"
#include "fields/json_escape.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

namespace qvm
{
namespace
{

void appendInteger(std::string& out, long long value)
{
    DecimalBuffer digits;
    out.append(decimalText(value, digits));
}

// A value as the document's member would hold it (see buildObject).
void appendValue(std::string& out, const FieldParts& parts)
{
    switch (parts.tag.kind)
    {
        case ValueKind::Text:
            out.push_back('"');
            appendJsonEscaped(out,
                              parts.value[0] == '\0' ? "NULL" : parts.value);
            out.push_back('"');
            return;
        case ValueKind::Decimal:
            return appendInteger(out, std::strtoll(parts.value, nullptr, 10));
        case ValueKind::Hex:
            return appendInteger(out, std::strtoll(parts.value, nullptr, 16));
        case ValueKind::Boolean:
            out +=
                std::strtol(parts.value, nullptr, 10) != 0 ? "true" : "false";
            return;
        case ValueKind::Double:
            return; // never reached: such a list takes the document's way
    }
}

// The parts of every string, or nothing when a string is bad, an array or
// a double.
std::optional<std::vector<FieldParts>> plainParts(int32_t count, char** strings)
{
    std::vector<FieldParts> all(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < all.size(); ++i)
        if (parseFieldString(strings[i], all[i]) != 0 || all[i].tag.array ||
            all[i].tag.kind == ValueKind::Double)
            return std::nullopt;
    return all;
}

// The members in the document's order: a key that repeats keeps the place
// of its first string and takes the value of its last one. Keys are found
// again through a small open hash, so that a structure of thousands of
// fields (a long dump) costs no more per field than a short one.
std::vector<const FieldParts*> members(const std::vector<FieldParts>& all)
{
    std::size_t capacity = 16;
    while (capacity < 2 * all.size())
        capacity *= 2;
    std::vector<std::size_t> slots(capacity, 0); // member number + 1
    std::vector<const FieldParts*> out;
    out.reserve(all.size());
    for (const FieldParts& parts : all)
    {
        auto at = static_cast<std::size_t>(fnv1a(parts.key)) & (capacity - 1);
        while (slots[at] != 0 && out[slots[at] - 1]->key != parts.key)
            at = (at + 1) & (capacity - 1);
        if (slots[at] != 0)
        {
            out[slots[at] - 1] = &parts;
            continue;
        }
        out.push_back(&parts);
        slots[at] = out.size();
    }
    return out;
}

} // namespace

// json-c's spaced, pretty layout of a flat object: "{", then per member a
// newline, two blanks, the quoted key, ": " and the value, commas between
// members, and "\n}" after the last.
std::optional<std::string> plainObjectText(int32_t count, char** strings)
{
    if (count < 2 || strings == nullptr)
        return std::nullopt;
    try
    {
        const auto all = plainParts(count, strings);
        if (!all)
            return std::nullopt;
        std::size_t size = 4;
        for (int32_t i = 0; i < count; ++i)
            size += kEscapeGrowth * std::strlen(strings[i]) + 8;
        std::string out;
        out.reserve(size); // room for every escape: one allocation
        out.push_back('{');
        for (const FieldParts* parts : members(*all))
        {
            out += out.size() == 1 ? "\n  \"" : ",\n  \"";
            appendJsonEscaped(out, parts->key);
            out += "\": ";
            appendValue(out, *parts);
        }
        out += "\n}";
        return out;
    }
    catch (const std::bad_alloc&)
    {
        return std::nullopt;
    }
}

} // namespace qvm
