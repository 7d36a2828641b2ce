#include "fields/text_utils.hpp"

#include <algorithm>
#include <cstring>

void qvm::copyToString(char* dst, const char* src, uint64_t n)
{
    if (dst == nullptr || (src == nullptr && n != 0))
        return;
    if (n != 0)
        std::memcpy(dst, src, n);
    dst[n] = '\0';
}

// Unlike strlcat, the result is the length dst really has afterwards, so a
// caller can tell a truncated append from the number it returns alone.
int64_t qvm::appendBounded(char* dst, const char* src, uint64_t size)
{
    if (dst == nullptr)
        return 0;
    const uint64_t length = std::strlen(dst);
    if (src == nullptr || length + 1 >= size)
        return static_cast<int64_t>(length);
    const uint64_t room = size - length - 1;
    const uint64_t take = std::min<uint64_t>(std::strlen(src), room);
    std::memcpy(dst + length, src, take);
    dst[length + take] = '\0';
    return static_cast<int64_t>(length + take);
}
