// The field-string emitters of the C interface.
#include "capi/tagged_sink.hpp"
#include "fields/hex_lines.hpp"
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

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
    const char* text = qvm::decode::findText({table, count}, value);
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
