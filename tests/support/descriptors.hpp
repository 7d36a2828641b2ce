// Counting this process's open file descriptors, to catch one left open.
#pragma once

#include <cstddef>
#include <filesystem>
#include <iterator>

namespace qvmtest
{

inline std::ptrdiff_t openDescriptors()
{
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         {});
}

} // namespace qvmtest
