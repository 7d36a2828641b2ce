#include "common/text.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qvm
{

char* heapCopy(const char* text) noexcept
{
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = static_cast<char*>(std::malloc(size));
    if (copy != nullptr)
        std::memcpy(copy, text, size);
    return copy;
}

std::size_t boundedCopy(char* dst, const char* src, std::size_t size) noexcept
{
    const std::size_t length = std::strlen(src);
    if (size == 0)
        return length;
    const std::size_t copied = std::min(length, size - 1);
    std::memcpy(dst, src, copied);
    dst[copied] = '\0';
    return length;
}

} // namespace qvm
