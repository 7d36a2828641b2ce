// The boot status of the system boot structure (type 32) and the reset
// capabilities of the system reset structure (type 23).
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/value_table.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

constexpr ValueTextEntry kBootStatus[] = {
    {0, "No errors detected"},
    {1, "No bootable media"},
    {2, "Normal boot process is unable to load operating system."},
    {3, "Firmware-detected hardware problem, including unknown failure "
        "types."},
    {4, "Operating system-detected hardware failure."},
    {5, "User-requested boot"},
    {6, "System security violation"},
    {7, "Previously-requested image."},
    {8, "System watchdog timer expired, causing the system to reboot."},
    {valueRange(9, 127),
     "Reserved for future assignment via this specification. "},
    {valueRange(128, 191),
     "Vendor/OEM-specific implementations. The Vendor/OEM identifier is the "
     "Manufacturer string in the System Identification structure."},
    {valueRange(192, 255),
     "Product-specific implementations. The product identifier is the "
     "concatenation of the Manufacturer and Product Name strings in the "
     "System Information structure."},
};
static_assert(isCompleteTable(kBootStatus, 12));

// What the system does after a reset, and after the reset limit is reached.
constexpr const char* kBootOptionOnLimit[4] = {
    "Reserved", "Operating system", "System utilities", "Do not reboot Bits"};
constexpr const char* kBootOption[4] = {"Reserved", "Operating system",
                                        "System utilities", "Do not reboot"};

} // namespace
} // namespace qvm::decode

void qvm::decode::addSystemBootStatus(uint32_t value, FieldSink& out)
{
    appendInteger("System Boot Status", value, out);
    appendLookup("Boot Status", kBootStatus, value, out);
}

void qvm::decode::addSystemResetCapabilities(uint32_t value, FieldSink& out)
{
    appendInteger("System Reset Capabilities", value, out);
    if ((value & 0xC0) != 0)
        out.text("System Reset Capabilities",
                 "Bits 7:6 are reserved bits, must be zero");
    appendFlag("System contains a watchdog timer", (value & 0x20) != 0, out);
    out.text("Boot Option on Limit", kBootOptionOnLimit[value >> 3 & 0x03]);
    out.text("Boot Option", kBootOption[value >> 1 & 0x03]);
    out.text("System Reset", (value & 0x01) != 0 ? "Enabled by the user"
                                                 : "Disabled by the user");
}
