// Feeds arbitrary bytes to the system event log decoders as log data, as a
// log header and as a record's variable data.
#include "fields/field_list.hpp"
#include "qvmclient.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qvm::OwnedFieldList owned;
    FieldList* list = owned.get();
    qvmAddSysEventLogData(data, static_cast<uint32_t>(size), list);
    // Header and variable-data decoders read fixed sizes: 16 and 9 bytes.
    if (size >= 16)
        qvmAddSysEventLogHeader(data[0] & 1U, data, list);
    if (size >= 9)
        qvmAddElVdfInfo(data[0], data, list);
    return 0;
}
