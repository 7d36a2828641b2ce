// Helpers shared by the JSON document utilities and the field-string builder.
#pragma once

#include "common/handles.hpp"

namespace qvm
{

// Adds value to object under key (replacing, in place, a member of that
// name). json-c leaves the value with the caller when the add fails; this
// releases it then, so the value never leaks. False on failure.
bool addMember(json_object* object, const char* key, json_object* value);

// A new object with two members, in this order: stampKey holding the
// current local time as ctime writes it (final newline included), then name
// holding doc. Takes over the reference held by doc; null when the wrapper
// cannot be built (doc is released then).
JsonPtr wrapWithTime(const char* stampKey, const char* name, JsonPtr doc);

} // namespace qvm
