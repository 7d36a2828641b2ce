// The manufacture date of a portable battery (type 22) and the power
// supply characteristics of a system power supply (type 39).
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/value_table.hpp"
#include "smbios/little_endian.hpp"

#include <cstdint>
#include <cstdio>

namespace qvm::decode
{
namespace
{

constexpr ValueTextEntry kSupplyType[] = {
    {1, "Other"},   {2, "Unknown"}, {3, "Linear"},    {4, "Switching"},
    {5, "Battery"}, {6, "UPS"},     {7, "Converter"},
};
static_assert(isCompleteTable(kSupplyType, 7));

constexpr ValueTextEntry kSupplyStatus[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "OK"},
    {4, "Non-critical"},
    {5, "Critical, power supply has failed and has been taken off-line"},
};
static_assert(isCompleteTable(kSupplyStatus, 5));

constexpr ValueTextEntry kVoltageSwitching[] = {
    {1, "Other"},       {2, "Unknown"},    {3, "Manual"},
    {4, "Auto-switch"}, {5, "Wide range"}, {6, "Not applicable"},
};
static_assert(isCompleteTable(kVoltageSwitching, 6));

// Flag fields, always given, in this order.
constexpr struct
{
    uint8_t bit;
    const char* key;
} kSupplyFlags[] = {
    {2, "Power supply is unplugged from the wall"},
    {1, "Power supply is present"},
    {0, "Power supply is hot replaceable"},
};

} // namespace
} // namespace qvm::decode

void qvm::decode::addSBDSManufactureDate(uint32_t value, FieldSink& out)
{
    appendInteger("SBDS Manufacture Date", value, out);
    // Smart Battery packing: day in bits 4:0, month in 8:5, years since 1980
    // in 15:9. Impossible days and months are shown as they are.
    const unsigned day = value & 0x1F;
    const unsigned month = value >> 5 & 0x0F;
    const unsigned year = 1980 + (value >> 9 & 0x7F);
    char date[16];
    std::snprintf(date, sizeof date, "%02u/%02u/%4u", month, day, year);
    out.text("Manufacture Date", date);
}

void qvm::decode::addSPSCharacteristics(const void* field, FieldSink& out)
{
    if (field == nullptr)
        return;
    const uint16_t word = readLe16(field);
    constexpr const char* key = "Power Supply Characteristics";
    appendInteger(key, word, out);
    if ((word & 0xC000) != 0)
        out.text(key, "Bits 15:14 are reserved bits, must be zero");
    out.text("Type", textOr(kSupplyType, word >> 10 & 0x0F, "Reserved "));
    out.text("Status", textOr(kSupplyStatus, word >> 7 & 0x07, "Undefined "));
    out.text("Input Voltage Range Switching",
             textOr(kVoltageSwitching, word >> 3 & 0x0F, "Reserved"));
    for (const auto& flag : kSupplyFlags)
        appendFlag(flag.key, (word >> flag.bit & 1U) != 0, out);
}
