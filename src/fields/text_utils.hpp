// Bounded copies into callers' character buffers.
#pragma once

#include <cstdint>

namespace qvm
{

// n bytes of src, then a NUL, into dst (n + 1 bytes of room).
void copyToString(char* dst, const char* src, uint64_t n);
// src appended to the string in dst (size bytes of room, NUL included) as
// far as it fits; the length dst has afterwards.
int64_t appendBounded(char* dst, const char* src, uint64_t size);

} // namespace qvm
