// Reading an org.freedesktop.DBus.Properties GetAll reply (a{sv}) into a
// JSON object.
#include "inventory/inventory.hpp"
#include "inventory/message_cursor.hpp"
#include "qvmclient.h"

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

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

// A double as JSON: NaN and the infinities have no JSON form, so they
// become null.
json_object* jsonDouble(double value) noexcept
{
    return std::isfinite(value) ? json_object_new_double(value) : nullptr;
}

// Reads one basic value into value (null for JSON null); false when sd-bus
// refuses to read it.
bool readBasic(sd_bus_message* m, char type, json_object*& value) noexcept
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
        return false;
    switch (type)
    {
        case SD_BUS_TYPE_BOOLEAN:
            value = json_object_new_boolean((v.b & 1) != 0);
            break;
        case SD_BUS_TYPE_BYTE:
            value = json_object_new_int64(v.y);
            break;
        case SD_BUS_TYPE_INT16:
            value = json_object_new_int64(v.n);
            break;
        case SD_BUS_TYPE_UINT16:
            value = json_object_new_int64(v.q);
            break;
        case SD_BUS_TYPE_INT32:
            value = json_object_new_int64(v.i);
            break;
        case SD_BUS_TYPE_UINT32:
            value = json_object_new_int64(v.u);
            break;
        case SD_BUS_TYPE_INT64:
            value = json_object_new_int64(v.x);
            break;
        case SD_BUS_TYPE_UINT64:
            // JSON integers are signed: the upper half keeps its bits.
            value = json_object_new_int64(static_cast<int64_t>(v.t));
            break;
        case SD_BUS_TYPE_DOUBLE:
            value = jsonDouble(v.d);
            break;
        default: // s, o, g
            value = json_object_new_string(v.s);
    }
    return true;
}

// Converts the value of one property entry, reading it to the entry's own
// end. Containers add no JSON level of their own, except arrays: an array
// opened while none is open becomes the property's value, one opened inside
// another a {key: [...]} member of the array around it. Basic values go
// into the innermost open array, or become (replace) the property's value
// while no array is open. The end of an inner container closes that one
// container and the entry's reading goes on after it.
class EntryReader
{
  public:
    EntryReader(sd_bus_message* m, json_object* result, std::string key)
        : m_(m), result_(result), target_(result), key_(std::move(key))
    {
    }

    // True once the entry has been read whole and left; false when the
    // conversion ends with -1 (every container of the entry has been left
    // by then, as far as sd-bus allows).
    bool read()
    {
        for (;;)
        {
            const MessageItem item = peekItem(m_);
            if (item.failed())
                return fail();
            if (!item.present())
            {
                if (enclosing_.empty())
                    return leaveContainers(m_, 1) || fail(); // the entry
                if (!leaveContainers(m_, 1))
                    return fail();
                target_ = enclosing_.back();
                enclosing_.pop_back();
                continue;
            }
            if (isConvertedBasic(item.type))
            {
                // sd-bus keeps its read position on a value it refuses (bad
                // UTF-8, a malformed path or signature) and cannot skip it
                // either, so such a value ends the conversion.
                json_object* value = nullptr;
                if (!readBasic(m_, item.type, value))
                    return fail();
                store(value);
                continue;
            }
            // A type that is not converted: a unix fd, for one.
            if (!isContainer(item.type) || !enterItem(m_, item))
                return fail();
            enclosing_.push_back(target_);
            if (item.type == SD_BUS_TYPE_ARRAY)
                openArray();
        }
    }

  private:
    // Leaves every container entered for this entry and the outer array.
    bool fail()
    {
        leaveContainers(m_, kEntryDepth + static_cast<int>(enclosing_.size()));
        return false;
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
    // For every container entered inside the entry, innermost last: the
    // target that was current when it was entered, restored at its end.
    std::vector<json_object*> enclosing_;
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
