// The BIOS Characteristics field of the BIOS Information structure and its
// two extension bytes.
#pragma once

#include "qvmclient.h"
#include "smbios/decode/table_version.hpp"

#include <cstdint>

namespace qvm::decode
{

// Extension byte 2 for a table of the given SMBIOS version: its bits 2 and
// up were assigned over several versions.
void addBiosCharacteristicsExt2(uint32_t value, SmbiosVersion version,
                                FieldList* list);

} // namespace qvm::decode
