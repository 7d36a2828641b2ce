// Feeds the property and subtree readers reply messages made from the input.
// The bytes pick the reply's signature (mostly the a{sv} and a{sa{sas}}
// shapes with some of their types replaced, else anything) and then every
// value written on the wire: nested arrays, variants, dict entries and
// structs, strings that may be invalid, doubles that may not be finite, and
// now and then a damaged byte. Both readers read every message. Besides
// memory errors, it checks that a reader returning 0 has named only members
// that the message held at its top level, and that every document, whole or
// partial, serialises to strict JSON.
#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "message_from_bytes.hpp"
#include "qvmclient.h"
#include "strict_json.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

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

// The entries of an a{s...} array: each key and, for the reply's own
// entries, the entries of the value when it is such an array too.
struct Entry;
using Entries = std::optional<std::vector<Entry>>;
struct Entry
{
    std::string key;
    Entries inner;
};

std::vector<std::string> keysOf(const Entries& entries)
{
    std::vector<std::string> keys;
    for (const auto& entry : entries.value_or(std::vector<Entry>{}))
        keys.push_back(entry.key);
    return keys;
}

// Lists the reply's entries as sd-bus itself reads them, skipping values.
class KeyLister
{
  public:
    explicit KeyLister(sd_bus_message* m) : m_(m) {}

    Entries entries()
    {
        sd_bus_message_rewind(m_, 1);
        Entries out = list(true);
        sd_bus_message_rewind(m_, 1);
        return broken_ ? std::nullopt : out;
    }

  private:
    // The entries of the item at the read position, which is consumed.
    // None when it is missing, not an array, or holds an element other than
    // a dict entry with a string key (an empty array has no entries).
    Entries list(bool nested)
    {
        char type = 0;
        const char* contents = nullptr;
        if (sd_bus_message_peek_type(m_, &type, &contents) <= 0)
            return std::nullopt;
        if (type != 'a')
        {
            skip();
            return std::nullopt;
        }
        const bool keyed = std::string_view(contents).substr(0, 2) == "{s";
        bool other = false;
        std::vector<Entry> found;
        check(sd_bus_message_enter_container(m_, type, contents));
        while (!broken_ && sd_bus_message_peek_type(m_, &type, &contents) > 0)
        {
            if (!keyed)
            {
                other = true;
                skip();
                continue;
            }
            const char* key = nullptr;
            check(sd_bus_message_enter_container(m_, type, contents));
            check(sd_bus_message_read_basic(m_, 's', &key));
            if (broken_)
                break;
            found.push_back({key, std::nullopt});
            if (nested)
                found.back().inner = list(false);
            else
                skip();
            check(sd_bus_message_exit_container(m_));
        }
        check(sd_bus_message_exit_container(m_));
        return other ? std::nullopt : Entries(std::move(found));
    }

    void skip() { check(sd_bus_message_skip(m_, nullptr)); }
    void check(int r) { broken_ = broken_ || r <= 0; }

    sd_bus_message* m_;
    bool broken_ = false;
};

std::vector<std::string> memberNames(json_object* object)
{
    std::vector<std::string> names;
    json_object_object_foreach(object, name, value)
    {
        (void)value;
        names.emplace_back(name);
    }
    return names;
}

// The one member name of each {name: [...]} element of array.
std::vector<std::string> elementNames(json_object* array)
{
    std::vector<std::string> names;
    require(json_object_is_type(array, json_type_array));
    for (std::size_t i = 0; i < json_object_array_length(array); ++i)
    {
        const auto member = memberNames(json_object_array_get_idx(array, i));
        require(member.size() == 1);
        names.push_back(member.front());
    }
    return names;
}

void checkProperties(json_object* document, const Entries& entries)
{
    const auto keys = keysOf(entries);
    const auto names = memberNames(document);
    require(std::set<std::string>(names.begin(), names.end()) ==
            std::set<std::string>(keys.begin(), keys.end()));
}

void checkSubtree(json_object* document, const Entries& entries)
{
    json_object* objects = nullptr;
    if (!json_object_object_get_ex(document, "Returned Objects", &objects))
    {
        require(!entries && memberNames(document).empty());
        return;
    }
    require(memberNames(document).size() == 1);
    const auto paths = keysOf(entries);
    require(elementNames(objects) == paths);
    for (std::size_t i = 0; i < paths.size(); ++i)
    {
        json_object* services = nullptr;
        json_object_object_get_ex(json_object_array_get_idx(objects, i),
                                  paths[i].c_str(), &services);
        const Entries& inner = (*entries)[i].inner;
        require(inner && elementNames(services) == keysOf(inner));
    }
}

using Reader = int32_t (*)(sd_bus_message*, json_object**);
using Check = void (*)(json_object*, const Entries&);

void readWith(sd_bus_message* m, Reader reader, Check check,
              const Entries& entries, bool damaged)
{
    sd_bus_message_rewind(m, 1);
    json_object* out = nullptr;
    const int32_t result = reader(m, &out);
    const qvm::JsonPtr document(out);
    if (document)
        qvmfuzz::serialised(document.get());
    if (result == QVM_RC_SUCCESS && !damaged)
        check(document.get(), entries);
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
    const Entries entries = KeyLister(reply.get()).entries();
    readWith(reply.get(), make_JSON_object_from_GetAllReply, checkProperties,
             entries, damaged);
    readWith(reply.get(), make_JSON_object_from_GetSubTreeReply, checkSubtree,
             entries, damaged);
    return 0;
}
