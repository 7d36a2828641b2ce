// Security-related settings: the hardware security structure (type 24),
// out-of-band remote access connections (type 30) and the TPM device
// characteristics (type 43).
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

constexpr const char* kPasswordState[4] = {"Disabled", "Enabled",
                                           "Not Implemented", "Unknown"};

// The four 2-bit states of the settings byte, highest bits first.
constexpr struct
{
    const char* key;
    uint8_t shift;
} kSecuritySettings[] = {
    {"Power-on Password Status", 6},
    {"Keyboard Password Status", 4},
    {"Administrator Password Status", 2},
    {"Front Panel Reset Status", 0},
};

constexpr const char* kTpmKey = "TPM Device Characteristics";

constexpr BitField kTpmCharacteristics[] = {
    numberBit(0, "Reserved bit"),
    numberBit(1, "Reserved bit"),
    textBit(2, kTpmKey, "TPM Device Characteristics Not Supported"),
    flagBit(3, "Family configurable via firmware update"),
    flagBit(4, "Family configurable via platform software support"),
    flagBit(5, "Family configurable via OEM proprietary mechanism"),
};

} // namespace
} // namespace qvm::decode

void qvm::decode::addHardwareSecuritySettings(uint32_t value, FieldSink& out)
{
    appendInteger("Hardware Security Settings", value, out);
    for (const auto& setting : kSecuritySettings)
        out.text(setting.key, kPasswordState[value >> setting.shift & 0x03]);
}

void qvm::decode::addOBRAConnections(uint32_t value, FieldSink& out)
{
    constexpr const char* key = "Connections";
    appendInteger(key, value, out);
    if ((value & 0xFC) != 0)
        out.text(key, "Bits 7:2 are reserved bits, must be zero");
    out.text(key, (value & 0x02) != 0 ? "Outbound Connection Enabled"
                                      : "Outbound Connection Disabled");
    out.text(key, (value & 0x01) != 0 ? "Inbound Connection Enabled"
                                      : "Inbound Connection Disabled");
}

void qvm::decode::addTpmDeviceCharacteristics(uint32_t low, uint32_t high,
                                              FieldSink& out)
{
    appendInteger(kTpmKey, static_cast<uint64_t>(high) << 32 | low, out);
    appendSetBits(kTpmCharacteristics, low, out);
    out.text(kTpmKey, "Bits 6:63 are reserved");
}
