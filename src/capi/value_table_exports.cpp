// The value and bit tables under the names the C interface exports. Each
// exported array is an alias of the core's own: the same bytes, one copy.
// An alias must be defined in the unit that defines its target, so the
// shared library's tables are compiled here; programs built on the core
// alone take them from smbios/decode/value_tables.cpp instead.
#include "qvmclient.h"
#include "smbios/decode/tables_cache.inc"
#include "smbios/decode/tables_devices.inc"
#include "smbios/decode/tables_event_log.inc"
#include "smbios/decode/tables_management.inc"
#include "smbios/decode/tables_memory.inc"
#include "smbios/decode/tables_ports_slots.inc"
#include "smbios/decode/tables_probes.inc"
#include "smbios/decode/tables_processor.inc"
#include "smbios/decode/tables_system.inc"
#include "smbios/decode/value_tables.hpp"

// The bound of each export is the one the public header declares; a table
// whose rows differ from it does not compile.
#define QVM_EXPORT_VALUE_TABLE(name, rows)                                     \
    extern "C" QVM_API const ValueTextEntry name##Table[rows]                  \
        __attribute__((alias(QVM_VALUE_TABLE_SYMBOL(name))));
QVM_VALUE_TABLES(QVM_EXPORT_VALUE_TABLE)
#undef QVM_EXPORT_VALUE_TABLE
