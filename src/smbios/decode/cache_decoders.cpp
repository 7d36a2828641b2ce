// The Cache Configuration word of the cache structure (type 7).
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

constexpr const char* kOperationalMode[4] = {
    "Write Through", "Write Back", "Varies with Memory Address", "Unknown"};
constexpr const char* kLocation[4] = {"Internal", "External", "Reserved",
                                      "Unknown"};

} // namespace
} // namespace qvm::decode

void qvm::decode::addCacheConfiguration(uint32_t value, FieldSink& out)
{
    appendInteger("Cache Configuration", value, out);
    appendFirstReservedBit({15, 14, 13, 12, 11, 10, 4}, value, out);
    out.text("Cache operation", kOperationalMode[value >> 8 & 0x03]);
    out.text("Cache", (value & 0x80) != 0 ? "Enabled " : "Disabled");
    out.text("Cache Type", kLocation[value >> 5 & 0x03]);
    appendFlag("Socketed", (value & 0x08) != 0, out);
    appendInteger("Cache Level", (value & 0x07) + 1, out);
}
