// JSON documents from lists of tagged field strings.
#pragma once

#include <cstdint>

namespace qvm
{

// One object with a member per field string (the first bad string decides
// the status), wrapped as {"Collection": time, name: object} when name is
// given, as the library's text in a heap copy of the caller's.
int32_t fieldStringsJson(int32_t count, char** strings, const char* name,
                         char** out);
// The same with the request checks of the formatting entry point.
int32_t formatFieldStrings(char** strings, int32_t count, const char* name,
                           char** out);

} // namespace qvm
