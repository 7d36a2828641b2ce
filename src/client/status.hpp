// The library's own version and the wording of its status codes.
#pragma once

#include <cstdint>

namespace qvm
{

inline constexpr char kLibraryVersion[] = "1.01.00.00";

// The text of a status code; "Unknown error" for a code the library does
// not return.
const char* statusText(int32_t code) noexcept;

} // namespace qvm
