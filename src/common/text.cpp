#include "common/text.hpp"

#include <cstdlib>
#include <cstring>
#include <openssl/crypto.h>

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
    return OPENSSL_strlcpy(dst, src, size);
}

} // namespace qvm
