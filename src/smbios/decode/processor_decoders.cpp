// The voltage and status bytes of the processor structure.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

constexpr BitField kSupportedVoltages[] = {
    flagBit(0, "5V is supported"),
    flagBit(1, "3.3V is supported"),
    flagBit(2, "2.9V is supported"),
};

// Bits 2:0 of the status byte.
constexpr const char* kCpuStatus[8] = {
    "Unknown",
    "CPU Enabled",
    "CPU Disabled by User via BIOS Setup",
    "CPU Disabled By BIOS (POST Error)",
    "CPU is Idle, waiting to be enabled",
    "Reserved",
    "Reserved",
    "Others",
};

} // namespace
} // namespace qvm::decode

extern "C" void qvmAddProcessorVoltage(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Processor Information - Voltage", value, list);
    // Legacy mode: bits 6:0 hold the present voltage times ten.
    if ((value & 0x80) != 0)
    {
        appendInteger("Processor current voltage(V/10)", value - 128, list);
        return;
    }
    appendSetBits(kSupportedVoltages, value, list);
    for (unsigned bit = 3; bit <= 6; ++bit)
    {
        if ((value >> bit & 1U) != 0)
            appendReservedBitNotice(bit, list);
    }
}

extern "C" void qvmAddProcessorStatus(uint32_t value, FieldList* list)
{
    using namespace qvm::decode;
    if (list == nullptr)
        return;
    appendInteger("Processor Status", value, list);
    appendFirstReservedBit({7, 5, 4, 3}, value, list);
    appendFlag("CPU Socket Populated", (value & 0x40) != 0, list);
    AddJSONString(kCpuStatus[value & 0x07], "Status", list);
}
