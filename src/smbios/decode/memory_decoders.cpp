// Computed fields of the memory controller (type 5) and memory module
// (type 6) structures: sizes given as powers of two, the handle list and the
// bank connections.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/little_endian.hpp"

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

void qvm::decode::addMaxMemoryModuleSize(uint32_t exponent, uint32_t slots,
                                         FieldSink& out)
{
    appendInteger("The size of the largest memory module supported (per slot) ",
                  timesPowerOfTwo(1, exponent), out);
    appendInteger(
        "The maximum amount of memory supported by this controller(MB) ",
        timesPowerOfTwo(slots, exponent), out);
}

void qvm::decode::addMemoryModuleConfigHandles(const void* handles,
                                               uint32_t count, FieldSink& out)
{
    appendInteger("Handles' List controlled by this controller", count, out);
    if (handles == nullptr)
        return;
    const auto* bytes = static_cast<const uint8_t*>(handles);
    for (uint32_t i = 0; i < count; ++i)
        appendInteger("Handle", readLe16(bytes + 2 * i), out);
}

void qvm::decode::addMmBankConnections(uint32_t value, FieldSink& out)
{
    const uint32_t high = value >> 4 & 0x0F;
    const uint32_t low = value & 0x0F;
    appendInteger("Bank Connections", value, out);
    // 0xF in a nibble means no RAS line there; only the low nibble is
    // treated so.
    if (low == 0x0F)
    {
        appendInteger("Banks High", high, out);
        appendInteger("RAS# High", high, out);
        return;
    }
    appendInteger("Banks High", high, out);
    appendInteger("Banks Low", low, out);
    appendInteger("RAS# High", high, out);
    appendInteger("RAS# Low", low, out);
}

void qvm::decode::addMmMemorySize(uint32_t value, FieldSink& out)
{
    appendInteger("Memory Size", value, out);
    const uint32_t size = value & 0x7F;
    switch (size)
    {
        case 125:
            appendInteger("Memory Size Not determinable (Installed Size only)",
                          size, out);
            break;
        case 126:
            appendInteger("Module is installed, but no memory has been enabled",
                          size, out);
            break;
        case 127:
            appendInteger("Not installed", size, out);
            break;
        default:
            appendInteger("Memory Size(MB)", timesPowerOfTwo(1, size), out);
            break;
    }
    out.text("Connection",
             (value & 0x80) != 0
                 ? "The memory module has a Double-bank connection"
                 : "The memory module has a Single-bank connection");
}
