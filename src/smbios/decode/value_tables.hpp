// The decoders' value and bit tables, as the core knows them:
// tables::SystemWakeupType and so on.
//
// Each table is constant data written once, in tables_<group>.inc. The
// shared library compiles those files in the C interface's table exports,
// so that each array can also carry the name the C interface exports it
// under (an alias has to be defined beside the array it names); programs
// built on the core alone compile them in value_tables.cpp. Either way a
// program holds one copy. The core reads only the names declared here.
#pragma once

#include "smbios/decode/table_list.hpp"
#include "smbios/decode/value_table.hpp"

// The symbol of a table, which its exported name aliases.
#define QVM_VALUE_TABLE_SYMBOL(name) "qvm_value_table_" #name

namespace qvm::decode::tables
{

#define QVM_DECLARE_VALUE_TABLE(name, rows)                                    \
    extern const ValueTextEntry name[rows] asm(QVM_VALUE_TABLE_SYMBOL(name));
QVM_VALUE_TABLES(QVM_DECLARE_VALUE_TABLE)
#undef QVM_DECLARE_VALUE_TABLE

} // namespace qvm::decode::tables
