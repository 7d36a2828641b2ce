// The decoders' value and bit tables for programs built on the core alone
// (qvm, the stand-in). The shared library compiles the same rows in the C
// interface's table exports instead, where each array also carries its
// exported name; a program links one of the two, so each has one copy.
#include "smbios/decode/tables_cache.inc"
#include "smbios/decode/tables_devices.inc"
#include "smbios/decode/tables_event_log.inc"
#include "smbios/decode/tables_management.inc"
#include "smbios/decode/tables_memory.inc"
#include "smbios/decode/tables_ports_slots.inc"
#include "smbios/decode/tables_probes.inc"
#include "smbios/decode/tables_processor.inc"
#include "smbios/decode/tables_system.inc"
