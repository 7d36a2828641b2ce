// Conversions between D-Bus message contents and JSON, driven by signatures.
//
// JSON shapes: basic values as numbers, strings and booleans; structs as
// arrays; arrays as arrays; dictionaries as objects (keys as text);
// variants as {"type": SIGNATURE, "value": VALUE}. A unix fd is appended as
// a descriptor of /dev/null and read back as its number.
#pragma once

#include <json-c/json.h>
#include <string>
#include <string_view>
#include <systemd/sd-bus.h>

namespace standin
{

// Length of the first complete type of signature (0 when malformed).
std::size_t completeTypeLength(std::string_view signature);

// Appends value as one complete type. Returns a negative errno on failure.
int appendJson(sd_bus_message* m, std::string_view type, json_object* value);

// Appends the elements of the JSON array values as the complete types of
// signature, in order.
int appendJsonArgs(sd_bus_message* m, std::string_view signature,
                   json_object* values);

// Reads every remaining item of m (at the current level) into a JSON array.
// Returns null when the message cannot be read.
json_object* readJsonArgs(sd_bus_message* m);

} // namespace standin
