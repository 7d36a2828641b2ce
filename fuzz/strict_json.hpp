// The check every fuzz target applies to the JSON text the library writes:
// one RFC 8259 value in valid UTF-8, judged by a strict parser (json-c's
// own parser accepts NaN, Infinity and invalid UTF-8, so it cannot judge).
#pragma once

#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "qvmclient.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace qvmfuzz
{

inline bool isStrictJson(std::string_view text)
{
    return nlohmann::json::accept(text);
}

// A text the library handed out with status rc: it must be there and be
// strict JSON; it comes back copied.
inline std::string requireStrict(int32_t rc, char* text)
{
    require(rc == QVM_RC_SUCCESS && text != nullptr);
    const qvm::HeapString owned(text);
    require(isStrictJson(text));
    return text;
}

// A document's text, which must be strict JSON whatever the document holds.
inline std::string serialised(json_object* doc)
{
    char* text = nullptr;
    return requireStrict(makeJSONstringFromDoc(doc, &text), text);
}

} // namespace qvmfuzz
