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

std::string_view decimalText(std::int64_t value, DecimalBuffer& buffer) noexcept
{
    char* const end = buffer + sizeof buffer;
    char* out = end;
    // Work in unsigned: the magnitude of INT64_MIN has no signed form.
    std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    do
    {
        *--out = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--out = '-';
    return {out, static_cast<std::size_t>(end - out)};
}

} // namespace qvm
