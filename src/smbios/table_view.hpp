// Positional walk over an SMBIOS structure table held in one buffer.
//
// The walk goes from structure to structure by position: each step moves
// forward by the structure's whole size, which is at least 6 bytes, so every
// walk ends, whatever the handles say (duplicates included). It stops at the
// first spot that is not a complete structure: a header cut by the end of
// the buffer, a length byte below 4 (trailing zero bytes are such a spot), a
// string set whose final NUL pair is not inside the buffer, or a whole size
// above 0xFFFF. What lies after that spot is never handed out, so every
// structure a walk yields lies wholly inside the buffer.
//
//     for (const auto& entry : table)
//         if (entry.view.type() == 17) ...
#pragma once

#include "smbios/structure_view.hpp"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace qvm::smbios
{

// One complete structure found by the walk.
struct TableEntry
{
    StructureView view;
    std::size_t offset = 0; // of the first byte, from the table's start
    std::size_t size = 0;   // whole size: formatted area and string set
};

class TableView
{
  public:
    class Iterator
    {
      public:
        using value_type = TableEntry;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        const TableEntry& operator*() const noexcept { return entry_; }
        const TableEntry* operator->() const noexcept { return &entry_; }
        Iterator& operator++() noexcept;
        Iterator operator++(int) noexcept;
        bool operator==(std::default_sentinel_t) const noexcept
        {
            return entry_.size == 0;
        }

      private:
        friend class TableView;
        Iterator(std::span<const std::uint8_t> table,
                 std::size_t offset) noexcept;
        void settle(std::size_t offset) noexcept;

        std::span<const std::uint8_t> table_;
        TableEntry entry_;
    };

    TableView() = default;
    explicit TableView(std::span<const std::uint8_t> bytes) noexcept
        : bytes_(bytes)
    {
    }

    std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

    Iterator begin() const noexcept { return Iterator(bytes_, 0); }
    std::default_sentinel_t end() const noexcept { return {}; }
    // The walk resumed at an offset (normally one a previous walk yielded).
    Iterator from(std::size_t offset) const noexcept
    {
        return Iterator(bytes_, offset);
    }
    bool hasStructures() const noexcept { return begin() != end(); }

    bool contains(const void* address) const noexcept;
    // A view from address to the end of the table; an invalid view when the
    // address is not inside the table.
    StructureView viewAt(const void* address) const noexcept;

  private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace qvm::smbios
