// The library's core as qvm drives it: a table that qvm has read itself
// made the loaded table, walked, and written out as the library's JSON.
// Everything qvm needs from the core's table functions passes here.
#pragma once

#include "smbios/table_view.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace qvmcli::core
{

using qvm::smbios::TableEntry;

// The most structures of one type that the library's selections and its
// export hold (their count travels as a u16).
inline constexpr std::size_t kMaxOfOneType = 0xFFFF;

// The table bytes loaded into the library for as long as this lives;
// status is the library's when they cannot be.
class LoadedTable
{
  public:
    explicit LoadedTable(std::span<const std::uint8_t> table);
    ~LoadedTable();
    LoadedTable(const LoadedTable&) = delete;
    LoadedTable& operator=(const LoadedTable&) = delete;

    std::int64_t status() const { return status_; }

  private:
    std::int64_t status_;
};

// One walk of the loaded table: every structure it reaches, in table
// order, and where it stopped.
struct Walk
{
    std::vector<TableEntry> entries;
    std::size_t tableSize = 0;
    std::size_t end = 0; // offset where the walk stopped
    // Whether bytes other than zero padding lie past the end.
    bool unreached = false;
    std::array<std::size_t, 256> ofType{};
};
Walk walkTable();

// One structure's JSON object (pretty, as the export writes it); status is
// the library's when it cannot be made.
struct Converted
{
    std::string text;
    std::int64_t status = 0;
};
Converted structureJson(const TableEntry& entry);

// What an export wrote.
struct LeftOut
{
    TableEntry entry;
    std::int64_t status;
};
struct ExportReport
{
    std::size_t written = 0;
    std::vector<LeftOut> leftOut; // structures that cannot be converted
    std::array<std::size_t, 256> clipped{}; // per type, past kMaxOfOneType
};
// Writes the library's export of walk's structures to out (errors stay in
// out's error flag for the caller).
ExportReport exportJson(const Walk& walk, std::FILE* out);

} // namespace qvmcli::core
