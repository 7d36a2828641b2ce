// Test tables read from files: a dump (entry point, then the table where
// it points) or a raw table, and transcripts of what a program printed.
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace qvmtest
{

struct DumpFile
{
    std::vector<std::uint8_t> bytes;
    std::size_t tableOffset = 0;
    std::size_t tableSize = 0;
    qvm::decode::SmbiosVersion version{0, 0};

    std::span<const std::uint8_t> table() const
    {
        return std::span(bytes).subspan(tableOffset, tableSize);
    }
};

// Fails the calling test (and returns an empty dump) when the file cannot
// be read or holds no entry point.
DumpFile readDump(const std::string& path);

std::string readText(const std::string& path);
// Writes text over path; for refreshing expectation files.
void writeText(const std::string& path, const std::string& text);

// "$ command" lines, each followed by the lines printed for it.
using Transcript =
    std::vector<std::pair<std::string, std::vector<std::string>>>;
Transcript readTranscript(const std::string& path);

} // namespace qvmtest
