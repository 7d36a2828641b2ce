// Test tables read from files: a dump (entry point, then the table where
// it points) or a raw table.
#pragma once

#include "smbios/decode/table_version.hpp"
#include "smbios/entry_point.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qvmtest
{

struct DumpFile
{
    std::vector<std::uint8_t> bytes;
    std::optional<qvm::smbios::EntryPoint> entryPoint;
    std::size_t tableOffset = 0;
    std::size_t tableSize = 0;
    qvm::decode::SmbiosVersion version{0, 0};

    std::span<const std::uint8_t> table() const
    {
        return std::span(bytes).subspan(tableOffset, tableSize);
    }
};

// Fails the calling test when the file cannot be read or holds no entry
// point.
DumpFile readDump(const std::string& path);
// The entry point that bytes start with, if any, and the table after it;
// the whole of bytes without one.
DumpFile splitDump(std::vector<std::uint8_t> bytes);

} // namespace qvmtest
