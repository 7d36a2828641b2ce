// Feeds arbitrary bytes to the system event log decoders as log data, as a
// log header and as a record's variable data.
#include "qvmclient.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace
{

void release(FieldList& list)
{
    for (FieldNode* node = list.head; node != nullptr;)
    {
        FieldNode* next = node->next;
        std::free(node->text);
        std::free(node);
        node = next;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FieldList list{};
    qvmAddSysEventLogData(data, static_cast<uint32_t>(size), &list);
    // Header and variable-data decoders read fixed sizes: 16 and 9 bytes.
    if (size >= 16)
        qvmAddSysEventLogHeader(data[0] & 1U, data, &list);
    if (size >= 9)
        qvmAddElVdfInfo(data[0], data, &list);
    release(list);
    return 0;
}
