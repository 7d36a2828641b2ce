#include "json_dbus.hpp"

#include "common/handles.hpp"
#include "inventory/basic_value.hpp"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace standin
{
namespace
{

bool isBasic(char c)
{
    return std::string_view("ybnqiuxtdsogh").find(c) != std::string_view::npos;
}

int appendBasic(sd_bus_message* m, char type, json_object* v)
{
    switch (type)
    {
        case 'y':
        {
            const auto x = static_cast<uint8_t>(json_object_get_int64(v));
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'b':
        {
            const int x = json_object_get_boolean(v) ? 1 : 0;
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'n':
        case 'q':
        {
            const auto x = static_cast<uint16_t>(json_object_get_int64(v));
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'i':
        case 'u':
        {
            const auto x = static_cast<uint32_t>(json_object_get_int64(v));
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'x':
        {
            const int64_t x = json_object_get_int64(v);
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 't':
        {
            const uint64_t x = json_object_get_uint64(v);
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'd':
        {
            const double x = json_object_get_double(v);
            return sd_bus_message_append_basic(m, type, &x);
        }
        case 'h':
        {
            // sd-bus duplicates the descriptor into the message.
            const int fd = open("/dev/null", O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return -errno;
            const int r = sd_bus_message_append_basic(m, type, &fd);
            close(fd);
            return r;
        }
        default: // s, o, g
            return sd_bus_message_append_basic(m, type,
                                               json_object_get_string(v));
    }
}

int appendArray(sd_bus_message* m, std::string_view element, json_object* v)
{
    const std::string contents(element);
    int r = sd_bus_message_open_container(m, 'a', contents.c_str());
    if (r < 0)
        return r;
    if (element.front() == '{')
    {
        // Dictionary: a JSON object whose keys are the entries' keys.
        const std::string_view inner = element.substr(1, element.size() - 2);
        const std::string keyType(inner.substr(0, 1));
        const std::string_view valueType = inner.substr(1);
        json_object_object_foreach(v, key, value)
        {
            r = sd_bus_message_open_container(m, 'e',
                                              std::string(inner).c_str());
            if (r < 0)
                return r;
            // Keys are JSON member names: text, parsed for numeric types.
            const bool textKey = std::string_view("sog").find(keyType[0]) !=
                                 std::string_view::npos;
            const qvm::JsonPtr keyJson(textKey ? json_object_new_string(key)
                                               : json_tokener_parse(key));
            r = appendBasic(m, keyType[0], keyJson.get());
            if (r < 0 || (r = appendJson(m, valueType, value)) < 0)
                return r;
            if ((r = sd_bus_message_close_container(m)) < 0)
                return r;
        }
    }
    else if (json_object_is_type(v, json_type_array))
    {
        for (std::size_t i = 0; i < json_object_array_length(v); ++i)
            if ((r = appendJson(m, element, json_object_array_get_idx(v, i))) <
                0)
                return r;
    }
    return sd_bus_message_close_container(m);
}

int appendVariant(sd_bus_message* m, json_object* v)
{
    json_object* type = nullptr;
    json_object* value = nullptr;
    if (!json_object_object_get_ex(v, "type", &type) ||
        !json_object_object_get_ex(v, "value", &value))
        return -EINVAL;
    const char* signature = json_object_get_string(type);
    int r = sd_bus_message_open_container(m, 'v', signature);
    if (r < 0 || (r = appendJson(m, signature, value)) < 0)
        return r;
    return sd_bus_message_close_container(m);
}

bool readOne(sd_bus_message* m, char type, const char* contents,
             qvm::JsonPtr& value);

json_object* readContainer(sd_bus_message* m, char type, const char* contents)
{
    if (sd_bus_message_enter_container(m, type, contents) <= 0)
        return nullptr;
    qvm::JsonPtr out;
    if (type == 'a' && contents[0] == '{')
    {
        out.reset(json_object_new_object());
        while (sd_bus_message_enter_container(m, 'e', contents + 1) > 0)
        {
            const qvm::JsonPtr pair(readJsonArgs(m));
            sd_bus_message_exit_container(m);
            if (!pair || json_object_array_length(pair.get()) != 2)
                return nullptr;
            json_object_object_add(
                out.get(),
                json_object_get_string(
                    json_object_array_get_idx(pair.get(), 0)),
                json_object_get(json_object_array_get_idx(pair.get(), 1)));
        }
    }
    else
    {
        out.reset(readJsonArgs(m));
        // A variant reads as its one value.
        if (type == 'v' && out)
            out.reset(json_object_get(json_object_array_get_idx(out.get(), 0)));
    }
    sd_bus_message_exit_container(m);
    return out.release();
}

// False when the item cannot be read; a value read may be JSON null (a
// double with no JSON form). Basic values read as the library reads them,
// a unix fd as its number.
bool readOne(sd_bus_message* m, char type, const char* contents,
             qvm::JsonPtr& value)
{
    if (type == SD_BUS_TYPE_UNIX_FD)
    {
        int fd = -1;
        if (sd_bus_message_read_basic(m, type, &fd) <= 0)
            return false;
        value.reset(json_object_new_int(fd));
        return value != nullptr;
    }
    if (isBasic(type))
        return qvm::readBasicValue(m, type, value);
    value.reset(readContainer(m, type, contents));
    return value != nullptr;
}

} // namespace

std::size_t completeTypeLength(std::string_view s)
{
    if (s.empty())
        return 0;
    if (isBasic(s[0]) || s[0] == 'v')
        return 1;
    if (s[0] == 'a')
    {
        const std::size_t inner = completeTypeLength(s.substr(1));
        return inner ? inner + 1 : 0;
    }
    if (s[0] == '(' || s[0] == '{')
    {
        const char close = s[0] == '(' ? ')' : '}';
        std::size_t i = 1;
        while (i < s.size() && s[i] != close)
        {
            const std::size_t n = completeTypeLength(s.substr(i));
            if (n == 0)
                return 0;
            i += n;
        }
        return i < s.size() ? i + 1 : 0;
    }
    return 0;
}

int appendJson(sd_bus_message* m, std::string_view type, json_object* value)
{
    if (type.empty())
        return -EINVAL;
    if (isBasic(type[0]))
        return appendBasic(m, type[0], value);
    if (type[0] == 'v')
        return appendVariant(m, value);
    if (type[0] == 'a')
        return appendArray(m, type.substr(1), value);
    if (type[0] == '(')
    {
        const std::string contents(type.substr(1, type.size() - 2));
        int r = sd_bus_message_open_container(m, 'r', contents.c_str());
        if (r < 0 || (r = appendJsonArgs(m, contents, value)) < 0)
            return r;
        return sd_bus_message_close_container(m);
    }
    return -EINVAL;
}

int appendJsonArgs(sd_bus_message* m, std::string_view signature,
                   json_object* values)
{
    std::size_t index = 0;
    while (!signature.empty())
    {
        const std::size_t n = completeTypeLength(signature);
        if (n == 0)
            return -EINVAL;
        const int r = appendJson(m, signature.substr(0, n),
                                 json_object_array_get_idx(values, index++));
        if (r < 0)
            return r;
        signature.remove_prefix(n);
    }
    return 0;
}

json_object* readJsonArgs(sd_bus_message* m)
{
    qvm::JsonPtr out(json_object_new_array());
    char type = 0;
    const char* contents = nullptr;
    while (sd_bus_message_peek_type(m, &type, &contents) > 0)
    {
        qvm::JsonPtr item;
        if (!readOne(m, type, contents, item) ||
            !qvm::addElement(out.get(), item.release()))
            return nullptr;
    }
    return out.release();
}

} // namespace standin
