// The process-wide loaded table and the pieces of it handed to callers.
#pragma once

#include "common/handles.hpp"
#include "smbios/table_view.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace qvm::smbios
{

// The key under which GetBiosInfo answers.
inline constexpr char kBiosInfoKey[] = "SMBIOSBIOSInfo";

// Makes buffer (from calloc, length bytes) the loaded table; the library
// owns it until releaseTable or the next installTable.
void installTable(std::uint8_t* buffer, std::size_t length) noexcept;
// Frees the loaded table and returns to the unloaded state.
void releaseTable() noexcept;
// Changes whenever a table is installed or released, so that state kept
// about one table is never applied to another at the same address.
std::uint64_t tableGeneration() noexcept;

// The loaded table, bounded by m_SmbiosStruct and gSMTableLength; empty
// when none is loaded. A structure pointer handed out earlier (a selection,
// a walk) is read through loadedTable().viewAt(pointer); one pass over
// loadedTable() meets every structure, of every type, in table order.
TableView loadedTable() noexcept;

// A zero-filled array handed to callers, who free it with free(). One
// element at least: a null result then always means no memory.
template <typename T> HeapPtr<T> zeroedArray(std::size_t count) noexcept
{
    return HeapPtr<T>(static_cast<T*>(
        std::calloc(std::max<std::size_t>(count, 1), sizeof(T))));
}

// Views read the table as const; what is handed across the C interface
// points into the same buffer, which the library allocated writable.
template <typename T> T* handedOut(const T* inTable) noexcept
{
    return const_cast<T*>(inTable);
}

} // namespace qvm::smbios
