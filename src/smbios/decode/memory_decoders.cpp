// Computed fields of the memory controller (type 5) and memory module
// (type 6) structures: sizes given as powers of two, the handle list and the
// bank connections.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/le_bytes.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

// factor * 2^exponent in 64 bits; exponents past the width give 0 rather
// than the undefined shift.
constexpr uint64_t timesPowerOfTwo(uint64_t factor, uint32_t exponent)
{
    return exponent < 64 ? factor << exponent : 0;
}

} // namespace
} // namespace qvm::decode

extern "C" void qvmAddMaxMemoryModuleSize(uint32_t exponent, uint32_t slots,
                                          FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("The size of the largest memory module supported (per slot) ",
                  timesPowerOfTwo(1, exponent), list);
    appendInteger(
        "The maximum amount of memory supported by this controller(MB) ",
        timesPowerOfTwo(slots, exponent), list);
}

extern "C" void qvmAddMemoryModuleConfigHandles(const void* handles,
                                                uint32_t count, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Handles' List controlled by this controller", count, list);
    if (handles == nullptr)
        return;
    const auto* bytes = static_cast<const uint8_t*>(handles);
    for (uint32_t i = 0; i < count; ++i)
        appendInteger("Handle", readLe16(bytes + 2 * i), list);
}

extern "C" void qvmAddMmBankConnections(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    const uint32_t high = value >> 4 & 0x0F;
    const uint32_t low = value & 0x0F;
    appendInteger("Bank Connections", value, list);
    // 0xF in a nibble means no RAS line there; only the low nibble is
    // treated so.
    if (low == 0x0F)
    {
        appendInteger("Banks High", high, list);
        appendInteger("RAS# High", high, list);
        return;
    }
    appendInteger("Banks High", high, list);
    appendInteger("Banks Low", low, list);
    appendInteger("RAS# High", high, list);
    appendInteger("RAS# Low", low, list);
}

extern "C" void qvmAddMmMemorySize(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Memory Size", value, list);
    const uint32_t size = value & 0x7F;
    switch (size)
    {
        case 125:
            appendInteger("Memory Size Not determinable (Installed Size only)",
                          size, list);
            break;
        case 126:
            appendInteger("Module is installed, but no memory has been enabled",
                          size, list);
            break;
        case 127:
            appendInteger("Not installed", size, list);
            break;
        default:
            appendInteger("Memory Size(MB)", timesPowerOfTwo(1, size), list);
            break;
    }
    AddJSONString((value & 0x80) != 0
                      ? "The memory module has a Double-bank connection"
                      : "The memory module has a Single-bank connection",
                  "Connection", list);
}
