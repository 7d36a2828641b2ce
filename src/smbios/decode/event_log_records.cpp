// The records of the system event log: the walk over the log data and the
// variable data of each record.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/little_endian.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace qvm::decode
{
namespace
{

constexpr const char* kFormatKey = "Event Log Variable Data Format Types";
constexpr uint8_t kEndOfLog = 0xFF;

// Bytes 0 to 7 of a record: type, length, and the six date and time bytes.
constexpr uint64_t kRecordHeader = 8;
// The variable data that any format reads: its format byte and at most two
// double words.
constexpr std::size_t kVariableData = 9;

void appendFailedElement(const uint8_t* data, FieldSink& out)
{
    out.text(
        kFormatKey,
        "SMBIOS structure associated with the hardware element that failed");
    appendInteger("Structure handle", readLe16(data + 1), out);
}

// "s:Date/Time:<year>/<month>/<day>, <h>:<m>:<s>" from bytes 2 to 7; false
// when the year byte is not a two-digit year.
bool appendRecordTime(const uint8_t* record, FieldSink& out)
{
    const unsigned year = record[2];
    if (year > 99)
    {
        out.text("Date/Time", "error");
        return false;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s%02u/%02u/%02u, %u:%u:%u",
                  year >= 80 ? "19" : "20", year, unsigned{record[3]},
                  unsigned{record[4]}, unsigned{record[5]}, unsigned{record[6]},
                  unsigned{record[7]});
    out.text("Date/Time", text);
    return true;
}

// Decodes one record of length at least kRecordHeader available bytes;
// returns the record's own length.
uint8_t decodeRecord(const uint8_t* record, uint64_t available, FieldSink& out)
{
    addSELTypes(record[0], out);
    addSELLogHeaderLen(record[1], out);
    const uint8_t length = record[1] & 0x7F;
    if (!appendRecordTime(record, out) || length <= kRecordHeader)
        return length;
    // The variable data is read from a copy limited to the record and the
    // log, so a short record reads zeros rather than what follows it.
    uint8_t data[kVariableData] = {};
    const uint64_t inRecord = std::min<uint64_t>(length, available);
    std::memcpy(data, record + kRecordHeader,
                std::min<uint64_t>(inRecord - kRecordHeader, kVariableData));
    addElVdfInfo(data[0], data, out);
    return length;
}

} // namespace
} // namespace qvm::decode

void qvm::decode::addElVdfInfo(uint32_t format, const uint8_t* data,
                               FieldSink& out)
{
    if (data == nullptr)
        return;
    addSELVarDataFormatType(format, out);
    switch (format)
    {
        case 0:
            out.text(kFormatKey, "No standard format data is available");
            break;
        case 1:
            appendFailedElement(data, out);
            break;
        case 2:
            appendInteger("multiple-event counter", readLe32(data + 1), out);
            break;
        case 3:
            appendFailedElement(data, out);
            appendInteger("multiple-event counter", readLe32(data + 3), out);
            break;
        case 4:
            addPostResultsBitmapDw1(readLe32(data + 1), out);
            addPostResultsBitmapDw2(readLe32(data + 5), out);
            break;
        case 5:
            addSELSysManagementTypes(readLe32(data + 1), out);
            break;
        case 6:
            addSELSysManagementTypes(readLe32(data + 1), out);
            appendInteger("multiple-event counter", readLe32(data + 5), out);
            break;
        default:
            out.text(
                kFormatKey,
                format < 128
                    ? "Unused, available for assignment by this specification"
                    : "Available for system- and OEM-specific assignments");
            break;
    }
}

void qvm::decode::addSysEventLogData(const uint8_t* data, uint32_t length,
                                     FieldSink& out)
{
    if (data == nullptr)
        return;
    out.text("System Event Log records", "  ");
    if (length == 0 || data[0] == kEndOfLog)
        return;
    for (uint64_t offset = 0;;)
    {
        if (length - offset < kRecordHeader)
        {
            appendNotice("Log record cut short by the end of the log data",
                         out);
            return;
        }
        const uint8_t* record = data + offset;
        const uint8_t recordLength = decodeRecord(record, length - offset, out);
        if (record[0] == kEndOfLog)
            return;
        if (recordLength == 0)
        {
            // It would be read again and again.
            appendNotice("Log record of length 0 ends the log", out);
            return;
        }
        offset += recordLength;
        if (offset >= length)
            return;
    }
}
