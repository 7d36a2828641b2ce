// The library's core as qvm drives it: a table that qvm has read itself,
// read through an explicit table context, walked, and written out as the
// library's JSON. Everything qvm needs from the core's table functions
// passes here.
#pragma once

#include "smbios/table_context.hpp"
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

// The table bytes as the core reads them, for as long as this lives: the
// context every conversion below uses; the bytes stay the caller's. status
// is the library's when they hold no structure.
class LoadedTable
{
  public:
    explicit LoadedTable(std::span<const std::uint8_t> table);
    LoadedTable(const LoadedTable&) = delete;
    LoadedTable& operator=(const LoadedTable&) = delete;

    std::int64_t status() const { return status_; }
    const qvm::smbios::TableContext& context() const { return context_; }

  private:
    qvm::smbios::TableContext context_;
    std::int64_t status_;
};

// One walk of the loaded table: how many structures it reaches, of which
// types, and where it stopped. It keeps no entries: walking the table again
// where the structures are needed costs less than holding thousands of them
// (an export reads each structure once more anyway).
struct Walk
{
    std::size_t count = 0; // structures reached
    std::size_t tableSize = 0;
    std::size_t end = 0; // offset where the walk stopped
    // Whether bytes other than zero padding lie past the end.
    bool unreached = false;
    std::array<std::size_t, 256> ofType{};
    // For each type with more than kMaxOfOneType structures, the first
    // structure past that limit, in table order.
    std::vector<TableEntry> pastLimit;
    const LoadedTable* loaded = nullptr; // the table walked

    // The structures the walk reaches, in table order.
    const qvm::smbios::TableView& structures() const
    {
        return loaded->context().table;
    }
};
Walk walkTable(const LoadedTable& table);

// One structure's JSON object (pretty, as the export writes it); status is
// the library's when it cannot be made.
struct Converted
{
    std::string text;
    std::int64_t status = 0;
};
Converted structureJson(const Walk& walk, const TableEntry& entry);

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
    int writeError = 0; // errno of the failed write, 0 when all went out
};
// Writes the library's export of the table to out's descriptor (whatever
// out still buffers goes first).
ExportReport exportJson(const Walk& walk, std::FILE* out);

} // namespace qvmcli::core
