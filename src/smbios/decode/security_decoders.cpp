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
    {2, kTpmKey, "TPM Device Characteristics Not Supported"},
    flagBit(3, "Family configurable via firmware update"),
    flagBit(4, "Family configurable via platform software support"),
    flagBit(5, "Family configurable via OEM proprietary mechanism"),
};

} // namespace
} // namespace qvm::decode

extern "C" void qvmAddHardwareSecuritySettings(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Hardware Security Settings", value, list);
    for (const auto& setting : kSecuritySettings)
        AddJSONString(kPasswordState[value >> setting.shift & 0x03],
                      setting.key, list);
}

extern "C" void qvmAddOBRAConnections(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    constexpr const char* key = "Connections";
    appendInteger(key, value, list);
    if ((value & 0xFC) != 0)
        AddJSONString("Bits 7:2 are reserved bits, must be zero", key, list);
    AddJSONString((value & 0x02) != 0 ? "Outbound Connection Enabled"
                                      : "Outbound Connection Disabled",
                  key, list);
    AddJSONString((value & 0x01) != 0 ? "Inbound Connection Enabled"
                                      : "Inbound Connection Disabled",
                  key, list);
}

extern "C" void qvmAddTpmDeviceCharacteristics(uint32_t low, uint32_t high,
                                               FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger(kTpmKey, static_cast<uint64_t>(high) << 32 | low, list);
    appendSetBits(kTpmCharacteristics, low, list);
    AddJSONString("Bits 6:63 are reserved", kTpmKey, list);
}
