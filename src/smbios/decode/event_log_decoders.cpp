// The system event log structure (type 15): access method, log status, the
// log header format with the Type 1 header, and the length byte of a log
// record.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/value_table.hpp"

#include <cstdint>
#include <cstdio>

namespace qvm::decode
{
namespace
{

constexpr ValueTextEntry kAccessMethod[] = {
    {0, "Indexed I/O: 1 8-bit index port, 1 8-bit data port"},
    {1, "Indexed I/O: 2 8-bit index ports, 1 8-bit data port"},
    {2, "Indexed I/O: 1 16-bit index port, 1 8-bit data port"},
    {3, "Memory-mapped physical 32-bit address"},
    {4, "Available via General-Purpose NonVolatile Data functions"},
    {valueRange(5, 127),
     "Available for future assignment via this specification"},
    {valueRange(128, 255), "BIOS Vendor/OEM-specific"},
};
static_assert(isCompleteTable(kAccessMethod, 7));

// The structure's header-format byte and the header decoder word the
// unassigned range differently.
constexpr ValueTextEntry kHeaderFormat[] = {
    {0, "No Header"},
    {1, "Type 1 log header"},
    {valueRange(2, 127), "Available for future"},
    {valueRange(128, 255), "BIOS Vendor/OEM-specific format"},
};
static_assert(isCompleteTable(kHeaderFormat, 4));

constexpr ValueTextEntry kLogHeader[] = {
    {0, "No Header"},
    {1, "Type 1 log header"},
    {valueRange(2, 127),
     "Available for future assignment via this specification"},
    {valueRange(128, 255), "BIOS Vendor/OEM-specific format"},
};
static_assert(isCompleteTable(kLogHeader, 4));

constexpr const char* kHeaderFormatKey = "Log Header Format";

// Byte offsets of the Type 1 log header reported as plain numbers; bytes 0
// to 4 and 12 to 14 are reserved, byte 11 (the checksum offset) is left
// out.
constexpr struct
{
    uint8_t offset;
    const char* key;
} kType1Numbers[] = {
    {5, "Multiple Event Time Window"},
    {6, "Multiple Event Count Increment"},
    {7, "Pre-boot Event Log Reset - CMOS Address"},
    {8, "Pre-boot Event Log Reset - CMOS Bit Index"},
    {9, "CMOS Checksum - Starting Offset"},
    {10, "CMOS Checksum - Byte Count"},
};

} // namespace
} // namespace qvm::decode

void qvm::decode::addSELAccessMethod(uint32_t value, FieldSink& out)
{
    appendInteger("Access method", value, out);
    appendLookup("Access method", kAccessMethod, value, out);
}

void qvm::decode::addSELLogStatus(uint32_t value, FieldSink& out)
{
    constexpr const char* key = "Log Status";
    appendInteger(key, value, out);
    out.text(key,
             (value & 0x01) != 0 ? "Log area valid" : "Log area not valid");
    out.text(key, (value & 0x02) != 0 ? "Log area full" : "Log area not full");
    if ((value & 0xFC) != 0)
        out.text(key, "Reserved bits not zero");
}

void qvm::decode::addSysEventLogHeaderFormat(uint32_t value, FieldSink& out)
{
    appendInteger(kHeaderFormatKey, value, out);
    appendLookup(kHeaderFormatKey, kHeaderFormat, value, out);
}

void qvm::decode::addSELLogHeaderLen(uint32_t value, FieldSink& out)
{
    appendInteger("Log Header Len", value, out);
    appendInteger("Log Header length (masked)", value & 0x7F, out);
    out.text("Log Record Status", (value & 0x80) != 0
                                      ? "This record has been read"
                                      : "This record has not been read");
}

void qvm::decode::addSysEventLogHeaderType1(const uint8_t* header,
                                            FieldSink& out)
{
    if (header == nullptr)
        return;
    out.text("System Event Log Header Type1 Format", "  ");
    char oemReserved[32];
    std::snprintf(oemReserved, sizeof oemReserved, "0x%x 0x%x 0x%x 0x%x 0x%x",
                  header[0], header[1], header[2], header[3], header[4]);
    out.text("OEM Reserved", oemReserved);
    for (const auto& number : kType1Numbers)
        appendInteger(number.key, header[number.offset], out);
    char reserved[16];
    std::snprintf(reserved, sizeof reserved, "0x%x 0x%x 0x%x", header[12],
                  header[13], header[14]);
    out.text("Reserved", reserved);
    appendInteger("HeaderRevision", header[15], out);
}

void qvm::decode::addSysEventLogHeader(uint32_t format, const uint8_t* header,
                                       FieldSink& out)
{
    if (header == nullptr)
        return;
    appendLookup(kHeaderFormatKey, kLogHeader, format, out);
    if (format == 1)
        addSysEventLogHeaderType1(header, out);
}
