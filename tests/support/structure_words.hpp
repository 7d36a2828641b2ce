// Tables written as words on a transcript's call line, for the runners that
// load or map them:
//
//     TYPE/LENGTH/HANDLE  starts a structure, its settings follow:
//         bOFFSET N  wOFFSET N  dOFFSET N  qOFFSET N   a byte, word, dword
//                                                      or qword at OFFSET
//         xOFFSET HEX         the bytes given, from OFFSET
//         sOFFSET "text"      a string whose number goes at OFFSET
//         s "text"            a string only
//         len N               the length byte alone
//     zeros N | raw HEX   N zero bytes, or the bytes given, between structures
//     sample              the bundled sample table
#pragma once

#include "support/loaded_table.hpp"
#include "support/transcript.hpp"

namespace qvmtest
{

// The table the words of a from on describe.
TableBuilder tableFromWords(const transcript::Args& a, std::size_t from);

} // namespace qvmtest
