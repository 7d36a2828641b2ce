// The last step of every JSON text the library hands out.
//
// json-c writes what its documents hold: string bytes as they are (so a host
// string or a parsed file with invalid UTF-8 comes out invalid), and doubles
// that JSON cannot hold as the bare words NaN, Infinity and -Infinity, or,
// for a number read from a file, as the text it was read from ("1.",
// "1e999"). Strict readers refuse the whole text for any of these.
#pragma once

#include <string_view>

namespace qvm
{

// A heap copy (malloc) of text, a JSON text as json-c writes it, made
// strict in one pass:
// - each maximal ill-formed UTF-8 subsequence becomes U+FFFD (the Unicode
//   standard's recommended practice), wherever it stands;
// - a number that is not finite (NaN, Infinity, a literal that overflows a
//   double) becomes null; a finite one in a form JSON does not allow ("1.",
//   "-.5", "00.5") is written in its shortest JSON form.
// Valid text comes back byte for byte. Null when the copy cannot be
// allocated.
char* strictJsonCopy(std::string_view text) noexcept;

} // namespace qvm
