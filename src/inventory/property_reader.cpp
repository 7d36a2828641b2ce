// Reading an org.freedesktop.DBus.Properties GetAll reply (a{sv}) into a
// JSON object.
#include "inventory/inventory.hpp"
#include "inventory/message_cursor.hpp"
#include "qvmclient.h"

#include <string>
#include <string_view>

namespace qvm
{
namespace
{

// The containers of one property entry: the outer array and the entry.
constexpr int kEntryDepth = 2;

bool isConvertedBasic(char type) noexcept
{
    return type != 0 && std::string_view("bynqiuxtdsog").find(type) !=
                            std::string_view::npos;
}

bool isContainer(char type) noexcept
{
    return type != 0 &&
           std::string_view("aerv").find(type) != std::string_view::npos;
}

// One basic value as its JSON value; null when sd-bus refuses to read it.
json_object* readBasic(sd_bus_message* m, char type) noexcept
{
    union
    {
        int b;
        uint8_t y;
        int16_t n;
        uint16_t q;
        int32_t i;
        uint32_t u;
        int64_t x;
        uint64_t t;
        double d;
        const char* s;
    } v{};
    if (sd_bus_message_read_basic(m, type, &v) <= 0)
        return nullptr;
    switch (type)
    {
        case SD_BUS_TYPE_BOOLEAN:
            return json_object_new_boolean((v.b & 1) != 0);
        case SD_BUS_TYPE_BYTE:
            return json_object_new_int64(v.y);
        case SD_BUS_TYPE_INT16:
            return json_object_new_int64(v.n);
        case SD_BUS_TYPE_UINT16:
            return json_object_new_int64(v.q);
        case SD_BUS_TYPE_INT32:
            return json_object_new_int64(v.i);
        case SD_BUS_TYPE_UINT32:
            return json_object_new_int64(v.u);
        case SD_BUS_TYPE_INT64:
            return json_object_new_int64(v.x);
        case SD_BUS_TYPE_UINT64:
            // JSON integers are signed: the upper half keeps its bits.
            return json_object_new_int64(static_cast<int64_t>(v.t));
        case SD_BUS_TYPE_DOUBLE:
            return json_object_new_double(v.d);
        default: // s, o, g
            return json_object_new_string(v.s);
    }
}

// Converts the value of one property entry. The entry's containers are
// entered one by one without a JSON level of their own, except arrays: the
// first becomes the property's value, a later one a {key: [...]} member of
// the array around it. Basic values go into the innermost array, or become
// the property's value while no array is open.
class EntryReader
{
  public:
    EntryReader(sd_bus_message* m, json_object* result, std::string key)
        : m_(m), result_(result), target_(result), key_(std::move(key))
    {
    }

    // False when the reader stops with -1 (every container of the entry
    // has been left by then).
    bool read()
    {
        for (;;)
        {
            const MessageItem item = peekItem(m_);
            if (item.failed())
            {
                leaveContainers(m_, depth_);
                return false;
            }
            if (isConvertedBasic(item.type))
            {
                // sd-bus leaves its read position on a value it refuses
                // (bad UTF-8, a malformed path or signature), and
                // sd_bus_message_skip refuses it as well, so a refused
                // value cannot be stepped over: it ends the entry like a
                // type that is not converted. The value stays unread, so
                // the next element's peek finds it and the conversion
                // ends with -1 instead of retrying it.
                json_object* value = readBasic(m_, item.type);
                if (value == nullptr)
                    return finishEntry();
                store(value);
                continue;
            }
            if (isContainer(item.type))
            {
                if (!enterItem(m_, item))
                {
                    leaveContainers(m_, depth_);
                    return false;
                }
                ++depth_;
                if (item.type == SD_BUS_TYPE_ARRAY)
                    openArray();
                continue;
            }
            // The end of the innermost container, or a type that is not
            // converted (a unix fd, for one).
            return finishEntry();
        }
    }

  private:
    // Leaves what was entered for this entry, keeping the outer array.
    bool finishEntry()
    {
        leaveContainers(m_, depth_ - 1);
        return true;
    }

    void store(json_object* value)
    {
        if (target_ == result_)
            json_object_object_add(result_, key_.c_str(), value);
        else
            json_object_array_add(target_, value);
    }

    void openArray()
    {
        json_object* array = json_object_new_array();
        if (target_ == result_)
        {
            json_object_object_add(result_, key_.c_str(), array);
        }
        else
        {
            json_object* wrapper = json_object_new_object();
            json_object_object_add(wrapper, key_.c_str(), array);
            json_object_array_add(target_, wrapper);
        }
        target_ = array;
    }

    sd_bus_message* m_;
    json_object* result_;
    json_object* target_;
    std::string key_;
    int depth_ = kEntryDepth;
};

} // namespace

int32_t make_JSON_object_from_message(sd_bus_message* reply, json_object** out)
{
    int32_t result = QVM_RC_SUCCESS;
    if (!isReadableReply(reply, result))
        return result;
    json_object* properties = json_object_new_object();
    *out = properties;
    if (!enterReplyArray(reply, result))
        return result;
    for (;;)
    {
        const MessageItem item = peekItem(reply);
        if (!item.present())
        {
            leaveContainers(reply, 1);
            return item.failed() ? QVM_RC_FAILED : QVM_RC_SUCCESS;
        }
        if (item.type != SD_BUS_TYPE_DICT_ENTRY || !enterItem(reply, item))
        {
            leaveContainers(reply, 1);
            return QVM_RC_FAILED;
        }
        const char* key = readString(reply);
        if (key == nullptr)
        {
            leaveContainers(reply, kEntryDepth);
            return QVM_RC_FAILED;
        }
        EntryReader entry(reply, properties, key);
        if (!entry.read())
            return QVM_RC_FAILED;
    }
}

} // namespace qvm

extern "C" int32_t make_JSON_object_from_GetAllReply(sd_bus_message* reply,
                                                     json_object** out)
{
    if (reply == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::make_JSON_object_from_message(reply, out);
}
