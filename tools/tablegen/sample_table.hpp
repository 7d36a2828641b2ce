// The bundled sample table: the SMBIOS structure table of an invented
// two-socket rack server, for trying the tools on a machine whose own table
// cannot be read.
#pragma once

#include "tablegen/table_builder.hpp"

namespace tablegen
{

TableBuilder sampleTable();

// The same structures without the end-of-table structure, for larger tables
// that carry on from them. Their handles are the structure type in the high
// byte and the instance in the low one, for types up to 0x2B and from 0x7F.
TableBuilder sampleStructures();

} // namespace tablegen
