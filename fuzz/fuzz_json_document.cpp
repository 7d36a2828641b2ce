// Reads arbitrary bytes as a JSON file and runs the document utilities on
// whatever json-c accepts (which is more than JSON: NaN, Infinity, "1.",
// invalid UTF-8, comments, single quotes). Every text they write must be
// strict JSON, the inventory extraction must leave its input alone, and
// the teardown must end.
#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "qvmclient.h"
#include "strict_json.hpp"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{

using qvmfuzz::require;
using qvmfuzz::requireStrict;
using qvmfuzz::serialised;

void stamp(json_object* doc)
{
    // A caller's name may hold any bytes, as the document's own keys do.
    for (const char* name : {static_cast<const char*>(nullptr), "R\xFF"})
    {
        char* text = nullptr;
        requireStrict(makeJSONstringFromDocWithTimeStamp(doc, name, &text),
                      text);
    }
}

void extractInventory(json_object* doc)
{
    const std::string before = serialised(doc);
    json_object* raw = nullptr;
    const int32_t rc = getBIOSDataFromJSON(doc, &raw);
    const qvm::JsonPtr inventory(raw);
    require(rc == QVM_RC_SUCCESS || rc == -1 || rc == -2);
    require((rc == QVM_RC_SUCCESS) == (raw != nullptr));
    if (inventory)
        serialised(inventory.get());
    require(serialised(doc) == before);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static qvmfuzz::ScratchFile file("fuzz-json-document");
    json_object* raw = nullptr;
    if (readJSONdoc(file.write(data, size).c_str(), &raw) != QVM_RC_SUCCESS)
    {
        require(raw == nullptr);
        return 0;
    }
    const qvm::JsonPtr doc(raw);
    stamp(doc.get());
    extractInventory(doc.get());
    freeNestedJSONObjects(doc.get());
    serialised(doc.get());
    return 0;
}
