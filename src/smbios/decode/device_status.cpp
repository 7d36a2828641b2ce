// The status byte of an on-board device (types 10 and 41).
#include "smbios/decode/decoders.hpp"

namespace qvm::decode
{

// Bit 7 says whether the device is enabled, the other bits are its type.
void addOnboardDeviceStatus(uint32_t status, FieldSink& out)
{
    constexpr uint32_t kEnabled = 0x80;
    out.text("Device", (status & kEnabled) != 0 ? "Enabled" : "Disabled");
    addOnboardDeviceTypes(status & ~kEnabled, out);
}

} // namespace qvm::decode
