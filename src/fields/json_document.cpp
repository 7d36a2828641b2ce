#include "fields/json_document.hpp"

#include "fields/json_text.hpp"
#include "qvmclient.h"

#include <ctime>

namespace qvm
{
namespace
{

// Spaced and pretty: the one layout every JSON text of the library has.
constexpr int kTextFlags = JSON_C_TO_STRING_SPACED | JSON_C_TO_STRING_PRETTY;

// ctime's text without its shared static buffer.
json_object* timeText()
{
    const std::time_t now = std::time(nullptr);
    char text[64];
    const char* written = ctime_r(&now, text);
    return json_object_new_string(written ? written : "");
}

} // namespace

JsonPtr wrapWithTime(const char* stampKey, const char* name, JsonPtr doc)
{
    JsonPtr wrapper(json_object_new_object());
    if (!wrapper || !addMember(wrapper.get(), stampKey, timeText()) ||
        !addMember(wrapper.get(), name, doc.release()))
        return nullptr;
    return wrapper;
}

int32_t readJsonFile(const char* file, json_object** out)
{
    if (file == nullptr || out == nullptr)
        return QVM_RC_FAILED;
    json_object* doc = json_object_from_file(file);
    if (doc == nullptr)
        return QVM_RC_FAILED;
    *out = doc;
    return QVM_RC_SUCCESS;
}

int32_t jsonText(json_object* doc, char** out)
{
    if (doc == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    // The serialiser's buffer belongs to doc; the caller gets its own copy,
    // made strict on the way (every text the library writes passes here).
    std::size_t length = 0;
    const char* text =
        json_object_to_json_string_length(doc, kTextFlags, &length);
    *out = text ? strictJsonCopy({text, length}) : nullptr;
    return *out ? QVM_RC_SUCCESS : QVM_RC_NO_RESOURCES;
}

int32_t jsonTextWithTime(json_object* doc, const char* name, char** out)
{
    if (doc == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    // The wrapper holds a reference of its own, so releasing it leaves the
    // caller's document alive.
    json_object_get(doc);
    JsonPtr wrapper =
        wrapWithTime("Generated", name ? name : "Data", JsonPtr(doc));
    return jsonText(wrapper.get(), out);
}

} // namespace qvm
