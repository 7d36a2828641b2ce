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

extern "C" void qvmAddCacheConfiguration(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Cache Configuration", value, list);
    appendFirstReservedBit({15, 14, 13, 12, 11, 10, 4}, value, list);
    AddJSONString(kOperationalMode[value >> 8 & 0x03], "Cache operation", list);
    AddJSONString((value & 0x80) != 0 ? "Enabled " : "Disabled", "Cache", list);
    AddJSONString(kLocation[value >> 5 & 0x03], "Cache Type", list);
    appendFlag("Socketed", (value & 0x08) != 0, list);
    appendInteger("Cache Level", (value & 0x07) + 1, list);
}
