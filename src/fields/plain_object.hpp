// The JSON text of a flat field list, written straight from the strings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvm
{

// The text that make_a_json_string gives for strings (without a name),
// before it is made strict: the same bytes, written without building and
// serialising a json-c document. Only for a list of count (2 or more) valid
// field strings, none of them an array or a double; nothing for any other
// list, which takes the document's way.
std::optional<std::string> plainObjectText(int32_t count, char** strings);

} // namespace qvm
