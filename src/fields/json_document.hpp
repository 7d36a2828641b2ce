// Helpers shared by the JSON document utilities and the field-string builder.
#pragma once

#include "common/handles.hpp"

namespace qvm
{

// A new object with two members, in this order: stampKey holding the
// current local time as ctime writes it (final newline included), then name
// holding doc. Takes over the reference held by doc; null when the wrapper
// cannot be built (doc is released then).
JsonPtr wrapWithTime(const char* stampKey, const char* name, JsonPtr doc);

} // namespace qvm
