// qvm is linked without json-c (see lazy_library.hpp): the table commands,
// the export among them, write their JSON themselves, and only the
// inventory, the manager's replies, `smbios check --json` and `smbios diff`
// build json-c documents.
//
// json-c is a dependency of the package like libsystemd; a json-c that
// cannot be opened is a broken installation. The library's callers take a
// null document for a full memory and a false answer for a missing
// member, which would say the wrong thing, so qvm stops with the loader's
// reason instead.
#include "lazy_library.hpp"

#include <cstdio>
#include <cstdlib>
#include <json-c/json.h>

namespace
{

struct JsonC
{
    static constexpr char kName[] = "libjson-c.so.5";
    template <typename R> [[noreturn]] static R missing()
    {
        const char* why = dlerror();
        std::fprintf(stderr, "qvm: cannot use %s: %s\n", kName,
                     why != nullptr ? why : "a function is missing");
        std::_Exit(1);
    }
};

} // namespace

json_object* json_tokener_parse(const char* text)
{
    return QVM_LAZY(JsonC, json_tokener_parse)(text);
}
json_object* json_object_from_file(const char* filename)
{
    return QVM_LAZY(JsonC, json_object_from_file)(filename);
}
json_object* json_object_get(json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_get)(obj);
}
int json_object_put(json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_put)(obj);
}
json_type json_object_get_type(const json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_get_type)(obj);
}
int json_object_is_type(const json_object* obj, json_type type)
{
    return QVM_LAZY(JsonC, json_object_is_type)(obj, type);
}
const char* json_object_to_json_string_ext(json_object* obj, int flags)
{
    return QVM_LAZY(JsonC, json_object_to_json_string_ext)(obj, flags);
}
const char* json_object_to_json_string_length(json_object* obj, int flags,
                                              size_t* length)
{
    return QVM_LAZY(JsonC, json_object_to_json_string_length)(obj, flags,
                                                              length);
}

json_object* json_object_new_object()
{
    return QVM_LAZY(JsonC, json_object_new_object)();
}
lh_table* json_object_get_object(const json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_get_object)(obj);
}
int json_object_object_add(json_object* obj, const char* key, json_object* val)
{
    return QVM_LAZY(JsonC, json_object_object_add)(obj, key, val);
}
void json_object_object_del(json_object* obj, const char* key)
{
    QVM_LAZY(JsonC, json_object_object_del)(obj, key);
}
json_bool json_object_object_get_ex(const json_object* obj, const char* key,
                                    json_object** value)
{
    return QVM_LAZY(JsonC, json_object_object_get_ex)(obj, key, value);
}

json_object* json_object_new_array()
{
    return QVM_LAZY(JsonC, json_object_new_array)();
}
size_t json_object_array_length(const json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_array_length)(obj);
}
int json_object_array_add(json_object* obj, json_object* val)
{
    return QVM_LAZY(JsonC, json_object_array_add)(obj, val);
}
json_object* json_object_array_get_idx(const json_object* obj, size_t idx)
{
    return QVM_LAZY(JsonC, json_object_array_get_idx)(obj, idx);
}
int json_object_array_del_idx(json_object* obj, size_t idx, size_t count)
{
    return QVM_LAZY(JsonC, json_object_array_del_idx)(obj, idx, count);
}

json_object* json_object_new_boolean(json_bool b)
{
    return QVM_LAZY(JsonC, json_object_new_boolean)(b);
}
json_object* json_object_new_int(int32_t i)
{
    return QVM_LAZY(JsonC, json_object_new_int)(i);
}
json_object* json_object_new_int64(int64_t i)
{
    return QVM_LAZY(JsonC, json_object_new_int64)(i);
}
json_object* json_object_new_double(double d)
{
    return QVM_LAZY(JsonC, json_object_new_double)(d);
}
json_object* json_object_new_string(const char* s)
{
    return QVM_LAZY(JsonC, json_object_new_string)(s);
}
json_object* json_object_new_string_len(const char* s, const int len)
{
    return QVM_LAZY(JsonC, json_object_new_string_len)(s, len);
}
const char* json_object_get_string(json_object* obj)
{
    return QVM_LAZY(JsonC, json_object_get_string)(obj);
}
