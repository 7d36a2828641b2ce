// SMBIOS entry points: recognising one at the start of a table file, and
// the dump layout that dmidecode's --dump-bin writes and its --from-dump
// reads (the entry point at offset 0, the table at 0x20).
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qvm::smbios
{

using Bytes = std::vector<std::uint8_t>;

// Enough of a file's start to recognise either entry point.
inline constexpr std::size_t kEntryPointRoom = 0x20;

struct EntryPoint
{
    bool is64 = false; // "_SM3_", else "_SM_"
    uint8_t major = 0;
    uint8_t minor = 0;
    uint8_t docrev = 0;
    uint64_t tableAddress = 0;
    uint32_t tableLength = 0; // 64-bit: the table's maximum size
    Bytes bytes;              // as read

    // "SMBIOS 3.2.0, 64-bit entry point (_SM3_)"
    std::string describe() const;
};

// The entry point that a file starts with (head: its first bytes); nothing
// for a raw table.
std::optional<EntryPoint> readEntryPoint(std::span<const uint8_t> head);

// Where the table lies in a file of fileSize bytes that starts with ep:
// at the address the entry point names when that lies in the file past the
// entry point (the dump layout), else right after it (an entry point saved
// together with its table). The size is bounded by the file.
struct TableRange
{
    std::size_t offset;
    std::size_t size;
};
TableRange tableRange(const EntryPoint& ep, uint64_t fileSize);

// The dump of table behind ep, or behind a fresh 64-bit entry point of
// version fresh (docrev 0) when the table came without one; the table
// address becomes 0x20 and the checksums are renewed.
Bytes dumpImage(const std::optional<EntryPoint>& ep,
                std::span<const uint8_t> table,
                decode::SmbiosVersion fresh = {3, 0});

} // namespace qvm::smbios
