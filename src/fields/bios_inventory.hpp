// The BIOS inventory summary picked out of a configuration document.
#pragma once

#include <cstdint>
#include <json-c/json.h>

namespace qvm
{

// {"Inventory": {"HARDWARE": ..., "SOFTWARE": ...}} with the wanted
// attributes of doc, a new document in *out.
int32_t biosDataFromJson(json_object* doc, json_object** out);

} // namespace qvm
