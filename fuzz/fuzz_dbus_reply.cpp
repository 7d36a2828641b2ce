// Feeds the property and subtree readers reply messages made from the input.
// The bytes pick the reply's signature (mostly the a{sv} and a{sa{sas}}
// shapes with some of their types replaced, else anything) and then every
// value written on the wire: nested arrays, variants, dict entries and
// structs, strings that may be invalid, doubles that may not be finite, and
// now and then a damaged byte. Both readers read every message. Besides
// memory errors, it checks that a reader returning 0 has named only what
// the message held, and that every document, whole or partial, serialises
// to strict JSON.
#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "message_from_bytes.hpp"
#include "qvmclient.h"
#include "strict_json.hpp"

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

namespace
{

using qvmfuzz::ByteSource;
using qvmfuzz::require;

// A body past kMaxMessage is not sent, since it must fit the socket's
// buffer in one write.
constexpr std::size_t kMaxMessage = 128 * 1024;

// Reply signatures; "?" stands for a generated complete type ("?" right
// after "{" for a basic one).
constexpr const char* kShapes[] = {
    "a{sv}", "a{sv}", "a{s?}", "a{sa{sas}}", "a{sa{s?}}",
    "a{?v}", "?",     "??",    "",
};

// Reply signatures built on the shared value writer's complete types.
std::string replySignature(qvmfuzz::WireValues& values, ByteSource& in)
{
    std::string out;
    const std::string_view shape =
        kShapes[in.byte() % (sizeof kShapes / sizeof *kShapes)];
    for (std::size_t i = 0; i < shape.size(); ++i)
    {
        if (shape[i] != '?')
            out.push_back(shape[i]);
        else if (i > 0 && shape[i - 1] == '{')
            out.push_back(values.basicType());
        else
            out += values.type(1);
    }
    return out;
}

// The names a reader took from the message, down to levels of objects:
// the properties (1), or the subtree's paths and their services (3; its
// "Returned Objects" is the reader's own).
void collectNames(json_object* value, int levels, std::set<std::string>& names)
{
    if (levels == 0)
        return;
    if (json_object_is_type(value, json_type_array))
        for (std::size_t i = 0; i < json_object_array_length(value); ++i)
            collectNames(json_object_array_get_idx(value, i), levels, names);
    if (!json_object_is_type(value, json_type_object))
        return;
    json_object_object_foreach(value, name, member)
    {
        if (std::string_view(name) != "Returned Objects")
            names.insert(name);
        collectNames(member, levels - 1, names);
    }
}

using Reader = int32_t (*)(sd_bus_message*, json_object**);

// A reader that succeeds on an undamaged message names only what the
// message held: the document's names are among the strings written.
void readWith(sd_bus_message* m, Reader reader, int levels,
              const std::set<std::string>& written, bool damaged)
{
    sd_bus_message_rewind(m, 1);
    json_object* out = nullptr;
    const int32_t result = reader(m, &out);
    const qvm::JsonPtr document(out);
    if (!document)
        return;
    qvmfuzz::serialised(document.get());
    if (result != QVM_RC_SUCCESS || damaged)
        return;
    std::set<std::string> names;
    collectNames(document.get(), levels, names);
    for (const std::string& name : names)
        require(written.contains(name));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    ByteSource in(data, size);
    qvmfuzz::WireValues values(in);
    const std::string signature = replySignature(values, in);
    for (std::size_t at = 0; at < signature.size();)
        at = values.value(signature, at, 0);
    std::string& body = values.body().bytes();
    if (body.size() > kMaxMessage)
        return 0;
    const bool damaged = !body.empty() && in.byte() % 16 == 15;
    if (damaged)
        body[in.number(2) % body.size()] ^= static_cast<char>(in.byte() | 1);

    const qvm::MessagePtr reply = qvmfuzz::receive(signature, values.body());
    if (!reply)
        return 0;
    readWith(reply.get(), make_JSON_object_from_GetAllReply, 1,
             values.strings(), damaged);
    readWith(reply.get(), make_JSON_object_from_GetSubTreeReply, 3,
             values.strings(), damaged);
    return 0;
}
