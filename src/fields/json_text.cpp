#include "fields/json_text.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <new>
#include <string>

namespace qvm
{
namespace
{

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// What a lead byte promises: the sequence's length and the range of its
// second byte; every later byte is 80..BF (Unicode, table 3-7).
struct Lead
{
    std::size_t length;
    unsigned char low;
    unsigned char high;
};

constexpr Lead leadOf(unsigned char b) noexcept
{
    if (b >= 0xC2 && b <= 0xDF)
        return {2, 0x80, 0xBF};
    if (b == 0xE0)
        return {3, 0xA0, 0xBF}; // no overlong forms
    if (b == 0xED)
        return {3, 0x80, 0x9F}; // no surrogates
    if (b >= 0xE1 && b <= 0xEF)
        return {3, 0x80, 0xBF};
    if (b == 0xF0)
        return {4, 0x90, 0xBF}; // no overlong forms
    if (b >= 0xF1 && b <= 0xF3)
        return {4, 0x80, 0xBF};
    if (b == 0xF4)
        return {4, 0x80, 0x8F}; // nothing above U+10FFFF
    return {0, 0, 0};           // 80..C1, F5..FF never lead
}

// The well-formed sequence at the start of text, or the maximal subpart of
// an ill-formed one (at least one byte).
struct Sequence
{
    std::size_t length;
    bool valid;
};

Sequence sequenceAt(std::string_view text) noexcept
{
    const auto byte = [&](std::size_t i)
    { return static_cast<unsigned char>(text[i]); };
    const Lead lead = leadOf(byte(0));
    if (lead.length == 0)
        return {1, false};
    for (std::size_t i = 1; i < lead.length; ++i)
    {
        const unsigned char low = i == 1 ? lead.low : 0x80;
        const unsigned char high = i == 1 ? lead.high : 0xBF;
        if (i >= text.size() || byte(i) < low || byte(i) > high)
            return {i, false};
    }
    return {lead.length, true};
}

constexpr bool isDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}

// Outside strings json-c writes only structure, blanks and words: the
// three literals and numbers (NaN and Infinity among them).
constexpr bool isWordChar(char c) noexcept
{
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           c == '+' || c == '-' || c == '.';
}

std::size_t skipDigits(std::string_view t, std::size_t i) noexcept
{
    while (i < t.size() && isDigit(t[i]))
        ++i;
    return i;
}

// RFC 8259: -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
bool isJsonNumber(std::string_view t) noexcept
{
    std::size_t i = t.starts_with('-') ? 1 : 0;
    if (i == t.size() || !isDigit(t[i]))
        return false;
    i = t[i] == '0' ? i + 1 : skipDigits(t, i);
    if (i < t.size() && t[i] == '.')
    {
        const std::size_t from = i + 1;
        if ((i = skipDigits(t, from)) == from)
            return false;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E'))
    {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            ++i;
        const std::size_t from = i;
        if ((i = skipDigits(t, from)) == from)
            return false;
    }
    return i == t.size();
}

// Numbers are read the same whatever locale the calling program has set.
double readNumber(const std::string& text, char** end) noexcept
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c ? strtod_l(text.c_str(), end, c) : std::strtod(text.c_str(), end);
}

// How a word outside strings must be written instead, or nothing when it
// stands as it is.
std::string rewrittenWord(std::string_view word)
{
    if (word == "true" || word == "false" || word == "null")
        return {};
    // json-c's integers are 64-bit, so a short plain integer is finite.
    const bool hasFraction = word.find_first_of(".eE") != word.npos;
    const bool valid = isJsonNumber(word);
    if (valid && !hasFraction && word.size() <= 20)
        return {};
    const std::string text(word);
    char* end = nullptr;
    const double value = readNumber(text, &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return "null";
    if (valid)
        return {};
    char shortest[32];
    const auto written =
        std::to_chars(shortest, shortest + sizeof shortest, value).ptr;
    return {shortest, written};
}

// One pass over the text; the repaired copy is started at the first fault,
// so a valid text costs the scan alone.
class StrictText
{
  public:
    explicit StrictText(std::string_view text) : text_(text) {}

    void scan()
    {
        bool inString = false;
        for (std::size_t i = 0; i < text_.size();)
        {
            const char c = text_[i];
            if (static_cast<unsigned char>(c) >= 0x80)
                i = repairSequence(i);
            else if (inString && c == '\\')
                i += 2; // json-c's escapes are ASCII throughout
            else if (!inString && isWordChar(c))
                i = repairWord(i);
            else
            {
                if (c == '"')
                    inString = !inString;
                ++i;
            }
        }
    }

    char* copy() const
    {
        if (!changed_)
            return copyOf(text_);
        std::string whole = fixed_;
        whole.append(text_.substr(copied_));
        return copyOf(whole);
    }

  private:
    std::size_t repairSequence(std::size_t at)
    {
        const Sequence sequence = sequenceAt(text_.substr(at));
        if (!sequence.valid)
            replace(at, at + sequence.length, kReplacement);
        return at + sequence.length;
    }

    std::size_t repairWord(std::size_t at)
    {
        std::size_t end = at;
        while (end < text_.size() && isWordChar(text_[end]))
            ++end;
        if (const std::string word = rewrittenWord(text_.substr(at, end - at));
            !word.empty())
            replace(at, end, word);
        return end;
    }

    void replace(std::size_t from, std::size_t to, std::string_view with)
    {
        fixed_.append(text_.substr(copied_, from - copied_));
        fixed_.append(with);
        copied_ = to;
        changed_ = true;
    }

    static char* copyOf(std::string_view text) noexcept
    {
        auto* copy = static_cast<char*>(std::malloc(text.size() + 1));
        if (copy == nullptr)
            return nullptr;
        std::memcpy(copy, text.data(), text.size());
        copy[text.size()] = '\0';
        return copy;
    }

    std::string_view text_;
    std::string fixed_;
    std::size_t copied_ = 0;
    bool changed_ = false;
};

} // namespace

char* strictJsonCopy(std::string_view text) noexcept
{
    try
    {
        StrictText strict(text);
        strict.scan();
        return strict.copy();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

} // namespace qvm
