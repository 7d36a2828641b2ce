#include "fields/json_builder.hpp"

#include "common/handles.hpp"
#include "fields/field_string.hpp"
#include "fields/json_document.hpp"
#include "qvmclient.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvm
{
namespace
{

constexpr int32_t kBadCall = -1;

json_object* readValue(ValueKind kind, const char* text)
{
    switch (kind)
    {
        case ValueKind::Text:
            return json_object_new_string(text);
        case ValueKind::Decimal:
            return json_object_new_int64(std::strtoll(text, nullptr, 10));
        case ValueKind::Hex:
            return json_object_new_int64(std::strtoll(text, nullptr, 16));
        case ValueKind::Boolean:
            return json_object_new_boolean(std::strtol(text, nullptr, 10) != 0);
        case ValueKind::Double:
            return json_object_new_double(std::strtod(text, nullptr));
    }
    return nullptr;
}

// Stands in for an array element whose text could not be copied, so the
// array keeps its length.
json_object* placeholder(ValueKind kind)
{
    switch (kind)
    {
        case ValueKind::Text:
            return json_object_new_string("DEADDEADDEADDEAD");
        case ValueKind::Decimal:
        case ValueKind::Hex:
            return json_object_new_int64(INT64_MAX);
        case ValueKind::Boolean:
            return json_object_new_boolean(0);
        case ValueKind::Double:
            return json_object_new_double(1.23456789);
    }
    return nullptr;
}

json_object* readElement(ValueKind kind, const char* begin, std::size_t size)
{
    HeapString text(static_cast<char*>(std::calloc(size + 1, 1)));
    if (!text)
        return placeholder(kind);
    std::memcpy(text.get(), begin, size);
    return readValue(kind, text.get());
}

// Elements start after the first "{" and end at the next "," anywhere in
// the rest of the text; the one with no "," after it ends at the next "}"
// and is the last. A value with a "," after its closing "}" ("{1,2},3")
// has no "}" left for its last element: that element runs to the end of
// the text, so "{1,2},3" reads as the three elements "1", "2}" and "3".
json_object* readArray(ValueKind kind, const char* value)
{
    json_object* array = json_object_new_array();
    if (array == nullptr)
        return nullptr;
    const char* begin = std::strchr(value, '{') + 1;
    for (;;)
    {
        const char* end = std::strchr(begin, ',');
        const bool last = end == nullptr;
        if (last)
            end = std::strchr(begin, '}');
        if (end == nullptr)
            end = begin + std::strlen(begin);
        addElement(array, readElement(kind, begin,
                                      static_cast<std::size_t>(end - begin)));
        if (last)
            return array;
        begin = end + 1;
    }
}

json_object* memberValue(const FieldParts& parts)
{
    if (parts.tag.array)
        return readArray(parts.tag.kind, parts.value);
    if (parts.tag.kind == ValueKind::Text && parts.value[0] == '\0')
        return json_object_new_string("NULL");
    return readValue(parts.tag.kind, parts.value);
}

// A key that is already there keeps its place and takes the new value.
void addField(json_object* object, const FieldParts& parts)
{
    char key[kMaxKey + 1];
    std::memcpy(key, parts.key.data(), parts.key.size());
    key[parts.key.size()] = '\0';
    addMember(object, key, memberValue(parts));
}

// The first bad string decides the result; nothing is allocated here, so
// a rejected list costs no more than one scan.
int32_t validate(int32_t count, char** strings)
{
    FieldParts parts{};
    for (int32_t i = 0; i < count; ++i)
        if (const int32_t rc = parseFieldString(strings[i], parts); rc != 0)
            return rc;
    return 0;
}

JsonPtr buildObject(int32_t count, char** strings)
{
    JsonPtr object(json_object_new_object());
    if (!object)
        return nullptr;
    FieldParts parts{};
    for (int32_t i = 0; i < count; ++i)
    {
        parseFieldString(strings[i], parts);
        addField(object.get(), parts);
    }
    return object;
}

} // namespace

int32_t fieldStringsJson(int32_t count, char** strings, const char* name,
                         char** out)
{
    // A missing array is refused like a missing out.
    if (out == nullptr || strings == nullptr || count < 2)
        return kBadCall;
    if (const int32_t rc = validate(count, strings); rc != 0)
        return rc;
    JsonPtr doc = buildObject(count, strings);
    if (name != nullptr && doc)
        doc = wrapWithTime("Collection", name, std::move(doc));
    char* text = nullptr;
    const int32_t rc = jsonText(doc.get(), &text);
    if (rc != QVM_RC_SUCCESS)
    {
        std::fprintf(stderr, "Failed to build json: %d\n", rc);
        return rc;
    }
    *out = text;
    return QVM_RC_SUCCESS;
}

int32_t formatFieldStrings(char** strings, int32_t count, const char* name,
                           char** out)
{
    if (strings == nullptr || out == nullptr || count == 0)
        return QVM_RC_INVALID_REQUEST;
    return fieldStringsJson(count, strings, name, out);
}

} // namespace qvm
