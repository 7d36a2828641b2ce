// Reading an org.freedesktop.DBus.Properties GetAll reply (a{sv}) into a
// JSON object.
#include "inventory/basic_value.hpp"
#include "inventory/inventory.hpp"
#include "inventory/message_cursor.hpp"
#include "qvmclient.h"

#include <string>
#include <string_view>
#include <vector>

namespace qvm
{
namespace
{

// The containers of one property entry: the outer array and the entry.
constexpr int kEntryDepth = 2;

bool isContainer(char type) noexcept
{
    return type != 0 &&
           std::string_view("aerv").find(type) != std::string_view::npos;
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
                JsonPtr value;
                if (!readBasicValue(m_, item.type, value) ||
                    !store(std::move(value)))
                    return fail();
                continue;
            }
            // A type that is not converted: a unix fd, for one.
            if (!isContainer(item.type) || !enterItem(m_, item))
                return fail();
            enclosing_.push_back(target_);
            if (item.type == SD_BUS_TYPE_ARRAY && !openArray())
                return fail();
        }
    }

  private:
    // Leaves every container entered for this entry and the outer array.
    bool fail()
    {
        leaveContainers(m_, kEntryDepth + static_cast<int>(enclosing_.size()));
        return false;
    }

    // A value the heap cannot hold ends the conversion like one sd-bus
    // refuses.
    bool store(JsonPtr value)
    {
        if (target_ == result_)
            return addMember(result_, key_.c_str(), value.release());
        return addElement(target_, value.release());
    }

    bool openArray()
    {
        JsonPtr array(json_object_new_array());
        json_object* opened = array.get();
        if (!array)
            return false;
        if (target_ != result_)
        {
            JsonPtr wrapper(json_object_new_object());
            if (!wrapper ||
                !addMember(wrapper.get(), key_.c_str(), array.release()))
                return false;
            array = std::move(wrapper);
        }
        if (!store(std::move(array)))
            return false;
        target_ = opened;
        return true;
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

int32_t readPropertiesReply(sd_bus_message* reply, json_object** out)
{
    int32_t result = QVM_RC_SUCCESS;
    if (!isReadableReply(reply, result))
        return result;
    json_object* properties = json_object_new_object();
    *out = properties;
    if (properties == nullptr)
        return QVM_RC_FAILED;
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
