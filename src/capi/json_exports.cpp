// The JSON document utilities and the field-string builder, as exported.
#include "fields/bios_inventory.hpp"
#include "fields/json_builder.hpp"
#include "fields/json_document.hpp"
#include "fields/text_utils.hpp"
#include "qvmclient.h"

extern "C" int32_t readJSONdoc(const char* file, json_object** out)
{
    return qvm::readJsonFile(file, out);
}

extern "C" int32_t makeJSONstringFromDoc(json_object* doc, char** out)
{
    return qvm::jsonText(doc, out);
}

extern "C" int32_t makeJSONstringFromDocWithTimeStamp(json_object* doc,
                                                      const char* name,
                                                      char** out)
{
    return qvm::jsonTextWithTime(doc, name, out);
}

extern "C" int32_t freeNestedJSONObjects(json_object* doc)
{
    return qvm::takeApartJson(doc);
}

extern "C" int32_t getBIOSDataFromJSON(json_object* doc, json_object** out)
{
    return qvm::biosDataFromJson(doc, out);
}

extern "C" int32_t make_a_json_string(int32_t count, char** strings,
                                      const char* name, char** out)
{
    return qvm::fieldStringsJson(count, strings, name, out);
}

extern "C" int32_t QVM_FormatData(char** strings, int32_t count,
                                  const char* name, char** out)
{
    return qvm::formatFieldStrings(strings, count, name, out);
}

extern "C" void MemToString(char* dst, const char* src, uint64_t n)
{
    qvm::copyToString(dst, src, n);
}

extern "C" int64_t qvmStrlCat(char* dst, const char* src, uint64_t size)
{
    return qvm::appendBounded(dst, src, size);
}
