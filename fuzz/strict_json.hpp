// The check every fuzz target applies to the JSON text the library writes:
// one RFC 8259 value in valid UTF-8, judged by a strict parser (json-c's
// own parser accepts NaN, Infinity and invalid UTF-8, so it cannot judge).
#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

namespace qvmfuzz
{

inline bool isStrictJson(std::string_view text)
{
    return nlohmann::json::accept(text);
}

} // namespace qvmfuzz
