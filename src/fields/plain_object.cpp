#include "fields/plain_object.hpp"

#include "common/text.hpp"
#include "fields/field_string.hpp"

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

// The escape json-c writes for a byte, or null for a byte that stands as
// it is: the two-character escapes, "/" included, and \u00xx in lower-case
// hex for the other control characters. 0x7F and the bytes above stand.
const char* escapeOf(unsigned char byte, char (&hex)[7])
{
    switch (byte)
    {
        case '\b':
            return "\\b";
        case '\n':
            return "\\n";
        case '\r':
            return "\\r";
        case '\t':
            return "\\t";
        case '\f':
            return "\\f";
        case '"':
            return "\\\"";
        case '\\':
            return "\\\\";
        case '/':
            return "\\/";
        default:
            break;
    }
    if (byte >= 0x20)
        return nullptr;
    constexpr char kHex[] = "0123456789abcdef";
    hex[4] = kHex[byte >> 4];
    hex[5] = kHex[byte & 0xF];
    return hex;
}

} // namespace

namespace
{

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Whether any of the eight bytes of word is zero.
constexpr bool anyZeroByte(std::uint64_t word)
{
    return ((word - kOnes) & ~word & kHighs) != 0;
}

// Whether all eight bytes stand as they are: none below 0x20, none of '"',
// '\\' and '/'. Bytes above 0x7F stand.
constexpr bool allStand(std::uint64_t word)
{
    const bool control = ((word - 0x20 * kOnes) & ~word & kHighs) != 0;
    return !control && !anyZeroByte(word ^ ('"' * kOnes)) &&
           !anyZeroByte(word ^ ('\\' * kOnes)) &&
           !anyZeroByte(word ^ ('/' * kOnes));
}

} // namespace

// Runs of bytes that stand go out whole. Eight bytes at a time are checked
// together; a word with a byte to escape is gone through byte by byte.
bool appendJsonEscaped(std::string& out, std::string_view text)
{
    char hex[7] = "\\u00xx";
    std::uint64_t high = 0;
    std::size_t run = 0;
    std::size_t i = 0;
    while (i < text.size())
    {
        if (text.size() - i >= 8)
        {
            std::uint64_t word;
            std::memcpy(&word, text.data() + i, 8);
            high |= word;
            if (allStand(word))
            {
                i += 8;
                continue;
            }
        }
        const std::size_t end = std::min(text.size(), i + 8);
        for (; i < end; ++i)
        {
            const auto byte = static_cast<unsigned char>(text[i]);
            high |= byte;
            const char* escape = escapeOf(byte, hex);
            if (escape == nullptr)
                continue;
            out.append(text.substr(run, i - run));
            out.append(escape);
            run = i + 1;
        }
    }
    out.append(text.substr(run));
    return (high & kHighs) != 0;
}

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
            size += std::strlen(strings[i]) + 8;
        std::string out;
        out.reserve(size); // escapes aside, one allocation
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
