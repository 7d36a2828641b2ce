// The process-wide loaded table as a table context: the adapters read the
// exported globals here and hand the core what they say.
#pragma once

#include "smbios/table_context.hpp"

namespace qvm::capi
{

// The loaded table, gated on SmbiosMajorVersion.SmbiosMinorVersion and
// reporting MajorVersion.MinorVersion, whatever a caller has set them to.
smbios::TableContext loadedContext() noexcept;

} // namespace qvm::capi
