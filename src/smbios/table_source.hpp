// Where SmbiosInit finds the table file when the caller names none.
#pragma once

#include "common/handles.hpp"

#include <cstdint>

namespace qvm::smbios
{

// Asks the inventory daemon for the table file's name and opens it for
// reading. Returns QVM_RC_SUCCESS with file set (null when the file could
// not be opened), or the failure status after writing its line to standard
// error.
int64_t openInventoryTableFile(FilePtr& file) noexcept;

} // namespace qvm::smbios
