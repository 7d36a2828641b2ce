// The field-string emitters of the C interface.
#include "capi/tagged_sink.hpp"
#include "fields/hex_lines.hpp"
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

#include <algorithm>
#include <cstddef>
#include <limits>

using qvm::FieldSink;
using qvm::capi::intoList;

extern "C" void AddJSONString(const char* value, const char* key,
                              FieldList* list)
{
    intoList(list, [&](FieldSink& out) { out.text(key, value); });
}

extern "C" void AddJSONintValue(int64_t value, const char* key, FieldList* list)
{
    intoList(list, [&](FieldSink& out) { out.integer(key, value); });
}

extern "C" void DumpHex(uint32_t size, const uint8_t* data, FieldList* list)
{
    intoList(list,
             [&](FieldSink& out) { qvm::appendHexLines(data, size, out); });
}

extern "C" uint32_t QueryTable(const ValueTextEntry* table, uint64_t count,
                               uint8_t value, const char** text_out)
{
    if (table == nullptr || text_out == nullptr)
        return QVM_RC_NOT_FOUND;
    // No table holds more entries than the address space; a larger count
    // on a 32-bit target is cut to what can be addressed, not wrapped.
    const auto entries = static_cast<std::size_t>(
        std::min<uint64_t>(count, std::numeric_limits<std::size_t>::max()));
    const char* text = qvm::decode::findText({table, entries}, value);
    if (text == nullptr)
        return QVM_RC_NOT_FOUND;
    *text_out = text;
    return value;
}

extern "C" void AddBitsInfo(const ValueTextEntry* table, uint32_t count,
                            uint32_t bits, FieldList* list)
{
    if (table == nullptr)
        return;
    intoList(list,
             [&](FieldSink& out) {
                 qvm::decode::appendBits({table, count}, bits, out);
             });
}
