// A table and what its decoding depends on, built from bytes alone: no
// process-wide state is read or written.
//
//     const auto context = qvm::smbios::TableContext::fromBytes(bytes);
//     qvm::FdWriter out(fd);
//     const auto report = qvm::smbios::exportJson(context, out);
#pragma once

#include "smbios/decode/decode_context.hpp"
#include "smbios/table_view.hpp"

#include <cstdint>
#include <span>

namespace qvm::smbios
{

// What the first BIOS information structure (type 0) with a version string
// says; the loader takes the table's version pairs from it.
struct BiosRelease
{
    const char* version = nullptr;       // null when no such structure exists
    decode::SmbiosVersion release{0, 0}; // bytes 20 and 21, 0.0 if short
};
BiosRelease firstBiosRelease(const TableView& table) noexcept;

struct TableContext
{
    TableView table;
    // Gates the field mappings and the version-dependent decoders.
    decode::DecodeContext decode;
    // The pair the library reports as the table's SMBIOS version.
    decode::SmbiosVersion reportedVersion{0, 0};

    // Both pairs are the BIOS release of firstBiosRelease, as the loader
    // sets them (0.0 when the table has no such structure).
    static TableContext fromBytes(std::span<const std::uint8_t> bytes) noexcept;
};

} // namespace qvm::smbios
