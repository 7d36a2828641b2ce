#include "common/text.hpp"

#include <algorithm>
#include <array>
#include <bit>
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

namespace
{

// "00" to "99": two digits per division.
constexpr char kPairs[] = "00010203040506070809101112131415161718192021222324"
                          "25262728293031323334353637383940414243444546474849"
                          "50515253545556575859606162636465666768697071727374"
                          "75767778798081828384858687888990919293949596979899";

constexpr std::array<std::uint64_t, 20> kPowersOfTen = []
{
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& entry : powers)
    {
        entry = power;
        power *= 10;
    }
    return powers;
}();

// From the bit length: 1233 / 4096 is just under log10(2), so the estimate
// is the count less one, or one less than that, which the power tells.
int digitCount(std::uint64_t value) noexcept
{
    value |= 1;
    const int estimate = std::bit_width(value) * 1233 >> 12;
    return estimate + 1 - (value < kPowersOfTen[estimate] ? 1 : 0);
}

} // namespace

char* writeUnsignedDecimal(char* out, std::uint64_t value) noexcept
{
    char* const end = out + digitCount(value);
    char* at = end;
    while (value >= 100)
    {
        const char* pair = kPairs + 2 * (value % 100);
        value /= 100;
        *--at = pair[1];
        *--at = pair[0];
    }
    if (value >= 10)
    {
        *--at = kPairs[2 * value + 1];
        *--at = kPairs[2 * value];
    }
    else
        *--at = static_cast<char>('0' + value);
    return end;
}

char* writeSignedDecimal(char* out, std::int64_t value) noexcept
{
    // Work in unsigned: the magnitude of INT64_MIN has no signed form.
    const std::uint64_t magnitude = value < 0
                                        ? 0 - static_cast<std::uint64_t>(value)
                                        : static_cast<std::uint64_t>(value);
    if (value < 0)
        *out++ = '-';
    return writeUnsignedDecimal(out, magnitude);
}

} // namespace qvm
