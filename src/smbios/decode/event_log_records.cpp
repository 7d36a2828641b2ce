// The records of the system event log: the walk over the log data and the
// variable data of each record.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/le_bytes.hpp"

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

void appendFailedElement(const uint8_t* data, FieldList* list)
{
    AddJSONString(
        "SMBIOS structure associated with the hardware element that failed",
        kFormatKey, list);
    appendInteger("Structure handle", readLe16(data + 1), list);
}

// "s:Date/Time:<year>/<month>/<day>, <h>:<m>:<s>" from bytes 2 to 7; false
// when the year byte is not a two-digit year.
bool appendRecordTime(const uint8_t* record, FieldList* list)
{
    const unsigned year = record[2];
    if (year > 99)
    {
        AddJSONString("error", "Date/Time", list);
        return false;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%s%02u/%02u/%02u, %u:%u:%u",
                  year >= 80 ? "19" : "20", year, unsigned{record[3]},
                  unsigned{record[4]}, unsigned{record[5]}, unsigned{record[6]},
                  unsigned{record[7]});
    AddJSONString(text, "Date/Time", list);
    return true;
}

// Decodes one record of length at least kRecordHeader available bytes;
// returns the record's own length.
uint8_t decodeRecord(const uint8_t* record, uint64_t available, FieldList* list)
{
    qvmAddSELTypes(record[0], list);
    qvmAddSELLogHeaderLen(record[1], list);
    const uint8_t length = record[1] & 0x7F;
    if (!appendRecordTime(record, list) || length <= kRecordHeader)
        return length;
    // The variable data is read from a copy limited to the record and the
    // log, so a short record reads zeros rather than what follows it.
    uint8_t data[kVariableData] = {};
    const uint64_t inRecord = std::min<uint64_t>(length, available);
    std::memcpy(data, record + kRecordHeader,
                std::min<uint64_t>(inRecord - kRecordHeader, kVariableData));
    qvmAddElVdfInfo(data[0], data, list);
    return length;
}

} // namespace
} // namespace qvm::decode

extern "C" void qvmAddElVdfInfo(uint32_t format, const uint8_t* data,
                                FieldList* list)
{
    using namespace qvm::decode;
    if (data == nullptr || list == nullptr)
        return;
    qvmAddSELVarDataFormatType(format, list);
    switch (format)
    {
        case 0:
            AddJSONString("No standard format data is available", kFormatKey,
                          list);
            break;
        case 1:
            appendFailedElement(data, list);
            break;
        case 2:
            appendInteger("multiple-event counter", readLe32(data + 1), list);
            break;
        case 3:
            appendFailedElement(data, list);
            appendInteger("multiple-event counter", readLe32(data + 3), list);
            break;
        case 4:
            qvmAddPostResultsBitmapDw1(readLe32(data + 1), list);
            qvmAddPostResultsBitmapDw2(readLe32(data + 5), list);
            break;
        case 5:
            qvmAddSELSysManagementTypes(readLe32(data + 1), list);
            break;
        case 6:
            qvmAddSELSysManagementTypes(readLe32(data + 1), list);
            appendInteger("multiple-event counter", readLe32(data + 5), list);
            break;
        default:
            AddJSONString(
                format < 128
                    ? "Unused, available for assignment by this specification"
                    : "Available for system- and OEM-specific assignments",
                kFormatKey, list);
            break;
    }
}

extern "C" void qvmAddSysEventLogData(const uint8_t* data, uint32_t length,
                                      FieldList* list)
{
    using namespace qvm::decode;
    if (data == nullptr || list == nullptr)
        return;
    AddJSONString("  ", "System Event Log records", list);
    if (length == 0 || data[0] == kEndOfLog)
        return;
    for (uint64_t offset = 0;;)
    {
        if (length - offset < kRecordHeader)
        {
            appendNotice("Log record cut short by the end of the log data",
                         list);
            return;
        }
        const uint8_t* record = data + offset;
        const uint8_t recordLength =
            decodeRecord(record, length - offset, list);
        if (record[0] == kEndOfLog)
            return;
        if (recordLength == 0)
        {
            // It would be read again and again.
            appendNotice("Log record of length 0 ends the log", list);
            return;
        }
        offset += recordLength;
        if (offset >= length)
            return;
    }
}
