// Type 15: the system event log.
#include "qvmclient.h"
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

constexpr std::uint8_t kAccessMemory32 = 3;
// Header and data offsets count from the access method address field.
constexpr std::size_t kLogAreaBase = 16;
constexpr std::size_t kHeaderSize = 16;

// The supported log type descriptors follow from offset 23, two bytes apart
// whatever byte 22 says. The faithful view shows those the structure holds.
constexpr FieldRow kLogTypeDescriptor[] = {
    decode(0, decode::addSELTypes),
    decode(1, decode::addSELVarDataFormatType),
};

// The log's header and data, read from the table bytes after the address
// field; the bounded reader zero-fills whatever lies past the buffer.
std::int64_t logHeaderAndData(const RowContext& c)
{
    if (c.view.byte(21) == 0)
        return 0;
    // Only a log in 32-bit memory space can be shown; any other access
    // method drops the whole structure.
    if (c.view.byte(10) != kAccessMemory32)
        return QVM_RC_FAILED;
    const unsigned headerStart = c.view.word(6);
    const unsigned dataStart = c.view.word(8);
    const auto dataLength =
        static_cast<std::uint16_t>(headerStart + c.view.word(4) - dataStart);
    if (const auto header =
            c.view.field(kLogAreaBase + headerStart, kHeaderSize))
        decode::addSysEventLogHeader(c.view.byte(20), header.data(), c.out);
    if (const auto data = c.view.field(kLogAreaBase + dataStart, dataLength))
        decode::addSysEventLogData(data.data(), dataLength, c.out);
    return 0;
}

constexpr FieldRow kEventLog[] = {
    integer(4, U16, "LogAreaLength"),
    integer(6, U16, "LogHeaderStartOffset"),
    integer(8, U16, "LogDataStartOffset"),
    decode(10, decode::addSELAccessMethod),
    integer(16, U32, "AccessMethodAddress"),
    decode(11, decode::addSELLogStatus),
    integer(12, U32, "LogChangeToken"),
    decode(20, decode::addSysEventLogHeaderFormat),
    integer(21, U8, "NumberOfSupportedLogTypeDescriptors"),
    integer(22, U8, "LengthOfLogTypeDescriptor"),
    counted(byteAt(21), 23, 2, kLogTypeDescriptor),
    // The log itself lies outside the table.
    libraryOnly(compute(logHeaderAndData)),
};

const TypeMapping kEventLogMappings[] = {
    {15, kEventLog},
};

} // namespace

const std::span<const TypeMapping> eventLogMappings = kEventLogMappings;

} // namespace qvm::mapping
