#include "fields/field_string.hpp"

#include <array>
#include <cstring>

namespace qvm
{
namespace
{

struct TagName
{
    std::string_view name;
    FieldTag tag;
};

constexpr std::array<TagName, 10> kTags = {{
    {"s", {ValueKind::Text, false}},
    {"d", {ValueKind::Decimal, false}},
    {"x", {ValueKind::Hex, false}},
    {"b", {ValueKind::Boolean, false}},
    {"f", {ValueKind::Double, false}},
    {"ad", {ValueKind::Decimal, true}},
    {"as", {ValueKind::Text, true}},
    {"ax", {ValueKind::Hex, true}},
    {"af", {ValueKind::Double, true}},
    {"ab", {ValueKind::Boolean, true}},
}};

// ASCII only, whatever locale the calling program has set.
char lowered(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowered(a[i]) != lowered(b[i]))
            return false;
    return true;
}

const FieldTag* findTag(std::string_view name)
{
    for (const auto& entry : kTags)
        if (sameIgnoringCase(entry.name, name))
            return &entry.tag;
    return nullptr;
}

// An array value needs a "{", a "," after it and a "}" after that comma,
// with no "," directly before that "}"; so every array has two elements.
bool isArrayText(const char* value)
{
    const char* open = std::strchr(value, '{');
    const char* comma = open ? std::strchr(open + 1, ',') : nullptr;
    const char* close = comma ? std::strchr(comma + 1, '}') : nullptr;
    return close != nullptr && close[-1] != ',';
}

} // namespace

int32_t parseFieldString(const char* text, FieldParts& parts) noexcept
{
    const char* first = text ? std::strchr(text, ':') : nullptr;
    if (first == nullptr)
        return kFieldMalformed;
    const std::string_view name(text, static_cast<std::size_t>(first - text));
    if (name.size() > kMaxTag)
        return kFieldTooLong;
    const FieldTag* tag = findTag(name);
    if (tag == nullptr)
        return kFieldUnknownTag;
    const char* second = std::strchr(first + 1, ':');
    if (second == nullptr)
        return kFieldMalformed;
    const std::string_view key(first + 1,
                               static_cast<std::size_t>(second - first - 1));
    if (key.size() > kMaxKey)
        return kFieldTooLong;
    const char* value = second + 1;
    if (tag->array && !isArrayText(value))
        return kFieldMalformed;
    parts = {*tag, key, value};
    return 0;
}

} // namespace qvm
