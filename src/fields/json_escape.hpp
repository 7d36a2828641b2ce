// json-c's escaping of string bytes, written into memory the caller has
// made room in: the one escaper behind every JSON text the library and the
// faithful view write without a json-c document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvm
{

// The most bytes one input byte can become ("\u00xx").
inline constexpr std::size_t kEscapeGrowth = 6;

// Whether '/' goes out as json-c writes it, "\/" (the library's texts), or
// as it is (the faithful view, which people read).
enum class Slash
{
    escaped,
    asIs,
};

// Writes text at out with json-c's escapes: the two-character ones ("\/"
// as slash says) and \u00xx in lower-case hex for the other control bytes;
// 0x7F and the bytes above stand as they are. out needs room for
// kEscapeGrowth * text.size() bytes. Returns the end of what was written
// and sets high when text holds a byte above 0x7F (it never clears it).
char* writeJsonEscaped(char* out, std::string_view text, bool& high,
                       Slash slash = Slash::escaped) noexcept;

// The same, appended to a string. Says whether text holds a byte above
// 0x7F.
bool appendJsonEscaped(std::string& out, std::string_view text,
                       Slash slash = Slash::escaped);

} // namespace qvm
