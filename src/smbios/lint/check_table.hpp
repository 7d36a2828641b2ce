// Checking a table as a file gives it: its entry point, if it has one,
// then its structures, read as the SMBIOS version the entry point names or,
// without one, the newest version its structure lengths allow.
#pragma once

#include "smbios/entry_point.hpp"
#include "smbios/lint/findings.hpp"

#include <optional>
#include <span>
#include <vector>

namespace qvm::smbios
{

struct TableCheck
{
    decode::SmbiosVersion version;
    bool versionFromEntryPoint = false;
    std::vector<Finding> findings;
};

// entryPoint: the one the file starts with (or the kernel shows beside the
// table); table: the bytes the file holds for the table. A table that
// starts with an entry point's anchor but holds no entry point that can be
// read is reported as such and not walked.
TableCheck checkTable(const std::optional<EntryPoint>& entryPoint,
                      std::span<const std::uint8_t> table);

// The version a table is read as: its entry point's, else the newest its
// structure lengths allow.
decode::SmbiosVersion tableVersion(const std::optional<EntryPoint>& entryPoint,
                                   std::span<const std::uint8_t> table);

// What is wrong with the entry point itself, and with what it says of the
// table that follows (its size, its number of structures).
std::vector<Finding> lintEntryPoint(const EntryPoint& entryPoint,
                                    std::span<const std::uint8_t> table);

} // namespace qvm::smbios
