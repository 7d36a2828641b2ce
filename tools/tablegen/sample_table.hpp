// The bundled sample table: the SMBIOS structure table of an invented
// two-socket rack server, for trying the tools on a machine whose own table
// cannot be read.
#pragma once

#include "tablegen/table_builder.hpp"

namespace tablegen
{

TableBuilder sampleTable();

} // namespace tablegen
