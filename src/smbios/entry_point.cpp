#include "smbios/entry_point.hpp"

#include "smbios/entry_point_layout.hpp"
#include "smbios/little_endian.hpp"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <numeric>

namespace qvm::smbios
{
namespace
{

constexpr std::size_t kDumpTableOffset = 0x20;

uint64_t little(std::span<const uint8_t> bytes, std::size_t at,
                std::size_t width)
{
    return qvm::readLittleEndian(bytes.subspan(at, width));
}

void putLittle(Bytes& bytes, std::size_t at, std::size_t width, uint64_t value)
{
    for (std::size_t i = 0; i < width; ++i, value >>= 8)
        bytes[at + i] = static_cast<uint8_t>(value);
}

bool startsWith(std::span<const uint8_t> bytes, const char* anchor)
{
    const std::size_t n = std::strlen(anchor);
    return bytes.size() >= n && std::memcmp(bytes.data(), anchor, n) == 0;
}

// Sets the byte at checksum so that length bytes from start add up to 0.
void renewChecksum(Bytes& bytes, std::size_t start, std::size_t length,
                   std::size_t checksum)
{
    bytes[checksum] = 0;
    const auto sum = std::accumulate(bytes.begin() + start,
                                     bytes.begin() + start + length, 0U);
    bytes[checksum] = static_cast<uint8_t>(0x100U - (sum & 0xFFU));
}

std::optional<EntryPoint> read64(std::span<const uint8_t> head)
{
    const std::size_t length =
        head.size() > ep64::kLength ? head[ep64::kLength] : 0;
    if (length < ep64::kMinLength || length > head.size() ||
        length > kDumpTableOffset)
        return std::nullopt;
    return EntryPoint{true,
                      head[ep64::kMajor],
                      head[ep64::kMinor],
                      head[ep64::kDocrev],
                      little(head, ep64::kTableAddress, 8),
                      static_cast<uint32_t>(little(head, ep64::kMaxSize, 4)),
                      Bytes(head.begin(), head.begin() + length)};
}

std::optional<EntryPoint> read32(std::span<const uint8_t> head)
{
    const std::size_t stated =
        head.size() > ep32::kLength ? head[ep32::kLength] : 0;
    // Some BIOSes state 0x1E for the 0x1F bytes they hold.
    const std::size_t length = std::max(stated, ep32::kFullLength);
    if (stated < ep32::kMinLength || length > head.size() ||
        length > kDumpTableOffset ||
        !startsWith(head.subspan(ep32::kIntermediate), "_DMI_"))
        return std::nullopt;
    return EntryPoint{
        false,
        head[ep32::kMajor],
        head[ep32::kMinor],
        0,
        little(head, ep32::kTableAddress, 4),
        static_cast<uint32_t>(little(head, ep32::kTableLength, 2)),
        Bytes(head.begin(), head.begin() + length)};
}

// What a table without an entry point is dumped behind: a 64-bit entry
// point (its table size has 32 bits, any table fits) that carries the
// version the table is to be read as; readers take the version from either
// kind of entry point alike.
Bytes fresh64(std::size_t tableSize, decode::SmbiosVersion version)
{
    Bytes bytes(ep64::kMinLength, 0);
    std::memcpy(bytes.data(), "_SM3_", 5);
    bytes[ep64::kLength] = ep64::kMinLength;
    bytes[ep64::kMajor] = version.major;
    bytes[ep64::kMinor] = version.minor;
    bytes[ep64::kRevision] = 1;
    putLittle(bytes, ep64::kMaxSize, 4, tableSize);
    return bytes;
}

} // namespace

std::string EntryPoint::describe() const
{
    // snprintf rather than std::to_string, whose digit table would join
    // the shared object's exported names.
    char text[64];
    std::snprintf(
        text, sizeof text, "SMBIOS %u.%u.%u, %s", major, minor, docrev,
        is64 ? "64-bit entry point (_SM3_)" : "32-bit entry point (_SM_)");
    return text;
}

std::optional<EntryPoint> readEntryPoint(std::span<const uint8_t> head)
{
    if (startsWith(head, "_SM3_"))
        return read64(head);
    if (startsWith(head, "_SM_"))
        return read32(head);
    return std::nullopt;
}

TableRange tableRange(const EntryPoint& ep, uint64_t fileSize)
{
    const uint64_t own = ep.bytes.size();
    const uint64_t offset = ep.tableAddress >= own && ep.tableAddress < fileSize
                                ? ep.tableAddress
                                : std::min(own, fileSize);
    const uint64_t size = std::min<uint64_t>(ep.tableLength, fileSize - offset);
    return {static_cast<std::size_t>(offset), static_cast<std::size_t>(size)};
}

Bytes dumpImage(const std::optional<EntryPoint>& ep,
                std::span<const uint8_t> table, decode::SmbiosVersion fresh)
{
    Bytes image = ep ? ep->bytes : fresh64(table.size(), fresh);
    if (!ep || ep->is64)
    {
        putLittle(image, ep64::kTableAddress, 8, kDumpTableOffset);
        renewChecksum(image, 0, image.size(), ep64::kChecksum);
    }
    else
    {
        putLittle(image, ep32::kTableAddress, 4, kDumpTableOffset);
        renewChecksum(image, ep32::kIntermediate, ep32::kIntermediateLength,
                      ep32::kIntermediateChecksum);
        renewChecksum(image, 0, image.size(), ep32::kChecksum);
    }
    image.resize(kDumpTableOffset, 0);
    image.insert(image.end(), table.begin(), table.end());
    return image;
}

} // namespace qvm::smbios
