// Formatting the findings' sentences. snprintf rather than std::to_string,
// whose digit table would join the shared object's exported names.
#pragma once

#include <array>
#include <cstdio>
#include <string>

namespace qvm::smbios
{

template <typename... Args>
std::string sentence(const char* pattern, Args... args)
{
    std::array<char, 192> buffer{};
    std::snprintf(buffer.data(), buffer.size(), pattern, args...);
    return buffer.data();
}

} // namespace qvm::smbios
