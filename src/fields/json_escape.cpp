#include "fields/json_escape.hpp"

#include <array>
#include <cstdint>
#include <cstring>

namespace qvm
{
namespace
{

// Per byte: 0 when it stands, else the letter after the backslash ('u'
// for the \u00xx form).
constexpr std::array<char, 256> kEscapes = []
{
    std::array<char, 256> table{};
    for (std::size_t byte = 0; byte < 0x20; ++byte)
        table[byte] = 'u';
    table['\b'] = 'b';
    table['\n'] = 'n';
    table['\r'] = 'r';
    table['\t'] = 't';
    table['\f'] = 'f';
    table['"'] = '"';
    table['\\'] = '\\';
    table['/'] = '/';
    return table;
}();

// Whether byte stands as it is in the output.
template <Slash slash> constexpr bool stands(unsigned char byte)
{
    return kEscapes[byte] == 0 || (slash == Slash::asIs && byte == '/');
}

constexpr char kHex[] = "0123456789abcdef";

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighs = 0x8080808080808080ULL;

// Whether any of the eight bytes of word is zero.
constexpr bool anyZeroByte(std::uint64_t word)
{
    return ((word - kOnes) & ~word & kHighs) != 0;
}

// Whether all eight bytes stand: none below 0x20, none of '"' and '\\',
// and no '/' unless it stands. A borrow between bytes can make it say no
// for a word that stands; such a word just takes the byte-wise way.
template <Slash slash> constexpr bool allStand(std::uint64_t word)
{
    const bool control = ((word - 0x20 * kOnes) & ~word & kHighs) != 0;
    return !control && !anyZeroByte(word ^ ('"' * kOnes)) &&
           !anyZeroByte(word ^ ('\\' * kOnes)) &&
           (slash == Slash::asIs || !anyZeroByte(word ^ ('/' * kOnes)));
}

template <Slash slash> char* writeByte(char* out, unsigned char byte)
{
    const char escape = kEscapes[byte];
    if (stands<slash>(byte))
    {
        *out = static_cast<char>(byte);
        return out + 1;
    }
    out[0] = '\\';
    out[1] = escape;
    if (escape != 'u')
        return out + 2;
    out[2] = '0';
    out[3] = '0';
    out[4] = kHex[byte >> 4];
    out[5] = kHex[byte & 0xF];
    return out + 6;
}

// Eight bytes at a time while they all stand (the common case: names,
// numbers, hex lines), byte by byte around an escape.
template <Slash slash>
char* writeEscaped(char* out, std::string_view text, bool& high) noexcept
{
    const char* in = text.data();
    const char* const end = in + text.size();
    std::uint64_t seen = 0;
    while (end - in >= 8)
    {
        std::uint64_t word;
        std::memcpy(&word, in, 8);
        seen |= word;
        if (allStand<slash>(word))
        {
            std::memcpy(out, in, 8);
            out += 8;
            in += 8;
            continue;
        }
        for (const char* stop = in + 8; in < stop; ++in)
            out = writeByte<slash>(out, static_cast<unsigned char>(*in));
    }
    if (in != end && text.size() >= 8)
    {
        // The last eight bytes, overlapping what is done: when they all
        // stand, the overlap went out as it is and goes out again the same.
        std::uint64_t word;
        std::memcpy(&word, end - 8, 8);
        if (allStand<slash>(word))
        {
            seen |= word;
            std::memcpy(out - (8 - (end - in)), end - 8, 8);
            out += end - in;
            in = end;
        }
    }
    for (; in < end; ++in)
    {
        seen |= static_cast<unsigned char>(*in);
        out = writeByte<slash>(out, static_cast<unsigned char>(*in));
    }
    high |= (seen & kHighs) != 0;
    return out;
}

} // namespace

char* writeJsonEscaped(char* out, std::string_view text, bool& high,
                       Slash slash) noexcept
{
    return slash == Slash::escaped
               ? writeEscaped<Slash::escaped>(out, text, high)
               : writeEscaped<Slash::asIs>(out, text, high);
}

bool appendJsonEscaped(std::string& out, std::string_view text, Slash slash)
{
    const std::size_t start = out.size();
    out.resize(start + kEscapeGrowth * text.size());
    bool high = false;
    char* const end = writeJsonEscaped(out.data() + start, text, high, slash);
    out.resize(static_cast<std::size_t>(end - out.data()));
    return high;
}

} // namespace qvm
