// Which SMBIOS version a table is read as, and where that came from.
#pragma once

#include "smbios/decode/table_version.hpp"
#include "smbios/table_view.hpp"

#include <cstdint>
#include <optional>
#include <string>

namespace qvm::smbios
{

enum class VersionSource : std::uint8_t
{
    EntryPoint, // the entry point in front of the table
    Caller,     // given by whoever asked, the table had no entry point
    Inferred,   // the newest the structure lengths allow
};

struct TableVersion
{
    decode::SmbiosVersion version{0, 0};
    // The document revision; only 64-bit entry points carry one.
    std::optional<std::uint8_t> docrev;
    VersionSource source = VersionSource::Inferred;

    // "3.1.1", or "2.8" without a document revision.
    std::string text() const;
};

// "entry point", "caller" or "inferred".
const char* sourceName(VersionSource source) noexcept;

// The newest version whose minimum structure lengths every structure of
// the table meets; a table that meets them all is read as the newest
// version those lengths know.
decode::SmbiosVersion inferVersion(const TableView& table) noexcept;

// The entry point's version when there is one, else the caller's, else
// the inferred one.
TableVersion chooseVersion(const std::optional<TableVersion>& entryPoint,
                           const std::optional<decode::SmbiosVersion>& given,
                           const TableView& table);

} // namespace qvm::smbios
