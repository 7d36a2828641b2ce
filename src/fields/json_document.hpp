// Helpers shared by the JSON document utilities and the field-string builder.
#pragma once

#include "common/handles.hpp"

#include <cstdint>

namespace qvm
{

// A new object with two members, in this order: stampKey holding the
// current local time as ctime writes it (final newline included), then name
// holding doc. Takes over the reference held by doc; null when the wrapper
// cannot be built (doc is released then).
JsonPtr wrapWithTime(const char* stampKey, const char* name, JsonPtr doc);

// The document in a file; QVM_RC_FAILED when it cannot be read or parsed.
int32_t readJsonFile(const char* file, json_object** out);
// The library's text of doc (spaced, pretty, strict JSON) in a heap copy
// of the caller's.
int32_t jsonText(json_object* doc, char** out);
// The same text of doc wrapped as {"Generated": time, name: doc}.
int32_t jsonTextWithTime(json_object* doc, const char* name, char** out);
// Empties doc member by member, nested containers first; the document
// itself stays the caller's.
int32_t takeApartJson(json_object* doc);

} // namespace qvm
