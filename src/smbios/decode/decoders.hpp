// The field decoders: each appends what one field (or a few related
// fields) of a structure says to a sink.
#pragma once

#include "fields/field_sink.hpp"
#include "smbios/decode/decoder_list.hpp"
#include "smbios/decode/table_version.hpp"

#include <cstdint>

namespace qvm::decode
{

#define QVM_DECLARE_DECODER(name, arguments, ...)                              \
    void add##name(__VA_ARGS__, FieldSink& out);
QVM_FIELD_DECODERS(QVM_DECLARE_DECODER)
#undef QVM_DECLARE_DECODER

// Extension byte 2 of the BIOS characteristics for a table of the given
// version: its bits 2 and up were assigned over several versions.
void addBiosCharacteristicsExt2(uint32_t value, SmbiosVersion version,
                                FieldSink& out);

// An on-board device's status byte: enabled or disabled, then its type.
void addOnboardDeviceStatus(uint32_t status, FieldSink& out);

} // namespace qvm::decode
