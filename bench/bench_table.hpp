// The large tables that exports are timed on.
#pragma once

#include "tablegen/table_builder.hpp"

namespace qvmbench
{

// Every structure past the sample's takes one of the virtual machine's
// handles, 0x3000 to 0x7EFF.
inline constexpr long kMostStructures = 0x7EFF - 0x3000;

// About structures structures (1 to kMostStructures), ending with an
// end-of-table structure.
tablegen::Bytes benchTable(long structures);

} // namespace qvmbench
