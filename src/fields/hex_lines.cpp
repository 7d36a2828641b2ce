#include "fields/hex_lines.hpp"

#include "common/log.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdio>

namespace qvm
{
namespace
{

constexpr uint32_t kLineBytes = 32;
// The widest line: 32 "xx " groups, the extra blank after the sixteenth
// byte, the "|" and 32 characters come to 130; the rest is headroom.
constexpr std::size_t kLineText = 192;
constexpr const char* kWho = "DumpHex";

// Only ASCII digits and letters are shown as themselves: this keeps colons
// (field separators) and control bytes out of the value.
char shown(uint8_t byte)
{
    const bool digit = byte >= '0' && byte <= '9';
    const bool upper = byte >= 'A' && byte <= 'Z';
    const bool lower = byte >= 'a' && byte <= 'z';
    return digit || upper || lower ? static_cast<char>(byte) : '.';
}

// Two lower-case hex digits and a blank per byte (two blanks after the
// sixteenth), "|", then the character column. Written digit by digit: the
// same text as formatting each byte with "%02x ", at a fraction of the cost
// on tables with large dumps.
void formatLine(const uint8_t* bytes, uint32_t count, char (&text)[kLineText])
{
    constexpr char kDigits[] = "0123456789abcdef";
    char* out = text;
    for (uint32_t i = 0; i < count; ++i)
    {
        *out++ = kDigits[bytes[i] >> 4];
        *out++ = kDigits[bytes[i] & 0x0F];
        *out++ = ' ';
        if (i == 15)
            *out++ = ' ';
    }
    *out++ = '|';
    for (uint32_t i = 0; i < count; ++i)
        *out++ = shown(bytes[i]);
    *out = '\0';
}

} // namespace

void appendHexLines(const uint8_t* data, uint32_t size, FieldSink& out)
{
    using namespace qvm::facility;
    using namespace qvm::priority;
    if (size == 0 || data == nullptr)
        return;
    qvm::log(kUser, kDebug, "%s: Entered\n", kWho);
    const uint64_t lines = (uint64_t{size} + kLineBytes - 1) / kLineBytes;
    qvm::log(kUser, kDebug, "%s: line count %d - Size %d", kWho,
             static_cast<int>(lines), static_cast<int>(size));
    for (uint64_t offset = 0; offset < size; offset += kLineBytes)
    {
        const auto count = static_cast<uint32_t>(
            std::min<uint64_t>(kLineBytes, size - offset));
        char key[24];
        std::snprintf(key, sizeof key, "%08lx",
                      static_cast<unsigned long>(offset));
        char value[kLineText];
        formatLine(data + offset, count, value);
        out.hexLine(key, value);
    }
    qvm::log(kUser, kDebug, "%s: Exit...Success\n", kWho);
}

} // namespace qvm
