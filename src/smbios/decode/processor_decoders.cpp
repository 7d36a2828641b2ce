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

void qvm::decode::addProcessorVoltage(uint32_t value, FieldSink& out)
{
    appendInteger("Processor Information - Voltage", value, out);
    // Legacy mode: bits 6:0 hold the present voltage times ten.
    if ((value & 0x80) != 0)
    {
        appendInteger("Processor current voltage(V/10)", value - 128, out);
        return;
    }
    appendSetBits(kSupportedVoltages, value, out);
    for (unsigned bit = 3; bit <= 6; ++bit)
    {
        if ((value >> bit & 1U) != 0)
            appendReservedBitNotice(bit, out);
    }
}

void qvm::decode::addProcessorStatus(uint32_t value, FieldSink& out)
{
    appendInteger("Processor Status", value, out);
    appendFirstReservedBit({7, 5, 4, 3}, value, out);
    appendFlag("CPU Socket Populated", (value & 0x40) != 0, out);
    out.text("Status", kCpuStatus[value & 0x07]);
}
