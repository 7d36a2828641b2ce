// Where SmbiosInit finds the table file when the caller names none.
#pragma once

#include "common/handles.hpp"

#include <cstdint>

namespace qvm
{

// Opens a table file for reading: only a regular file, and without waiting
// (a FIFO would otherwise hold the open until a writer came). Null for
// anything else or when the file cannot be opened.
FilePtr openTableFile(const char* path) noexcept;

// Asks the inventory daemon for the table file's name and opens it for
// reading. Returns QVM_RC_SUCCESS with file set (null when the file could
// not be opened), or the failure status after writing its line to standard
// error.
int64_t openInventoryTableFile(FilePtr& file) noexcept;

} // namespace qvm
