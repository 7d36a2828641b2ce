// Reading the object mapper's GetSubTree reply (a{sa{sas}}: path to service
// to interfaces) into {"Returned Objects": [{P: [{S: [I, ...]}, ...]}, ...]}.
#include "inventory/inventory.hpp"
#include "inventory/message_cursor.hpp"
#include "qvmclient.h"

#include <string_view>

namespace
{

using qvm::leaveContainers;
using qvm::MessageItem;
using qvm::peekItem;

// On a failure the reader leaves every container it entered, as far as
// sd-bus allows: the entry and the array around it, the interface array as
// well when the failure was inside one, and the levels above.
constexpr int kEntryLevels = 2;
constexpr int kInterfaceLevels = 3;

bool isStringLike(char type) noexcept
{
    return type != 0 &&
           std::string_view("sog").find(type) != std::string_view::npos;
}

enum class Step
{
    Entered,
    End,
    Failed,
};

// The next element of the current array, which must be a dict entry with a
// string key and an array value: appends {key: []} to list, enters the
// entry and its value, and hands out the new JSON array in inner. At the
// end of the array: End. Otherwise Failed, with the containers left.
Step enterNamedList(sd_bus_message* m, json_object* list, json_object*& inner)
{
    const MessageItem item = peekItem(m);
    if (!item.failed() && !item.present())
        return Step::End;
    const char* name = nullptr;
    if (item.is(SD_BUS_TYPE_DICT_ENTRY) && qvm::enterItem(m, item))
        name = qvm::readString(m);
    if (name == nullptr)
    {
        leaveContainers(m, kEntryLevels);
        return Step::Failed;
    }
    qvm::JsonPtr array(json_object_new_array());
    inner = array.get();
    qvm::JsonPtr member(json_object_new_object());
    const bool added = array && member &&
                       qvm::addMember(member.get(), name, array.release()) &&
                       qvm::addElement(list, member.release());

    const MessageItem value = peekItem(m);
    if (!added || !value.is(SD_BUS_TYPE_ARRAY) || !qvm::enterItem(m, value))
    {
        leaveContainers(m, kEntryLevels);
        return Step::Failed;
    }
    return Step::Entered;
}

// Interface names up to the end of the array or the first item of another
// type; such an item stays unread, so leaving the array fails afterwards. A
// name that sd-bus refuses to read cannot be stepped over (the read
// position stays on it and sd_bus_message_skip refuses it too), so it is
// a failed read rather than a name to retry.
bool readInterfaces(sd_bus_message* m, json_object* interfaces)
{
    for (;;)
    {
        const MessageItem item = peekItem(m);
        if (item.failed())
            return false;
        if (!item.present() || !isStringLike(item.type))
            return true;
        const char* name = nullptr;
        if (sd_bus_message_read_basic(m, item.type, &name) <= 0)
            return false;
        qvm::JsonPtr text(json_object_new_string(name));
        if (!text || !qvm::addElement(interfaces, text.release()))
            return false;
    }
}

// The services of one path; false on a failure (containers left).
bool readServices(sd_bus_message* m, json_object* services)
{
    for (;;)
    {
        json_object* interfaces = nullptr;
        const Step step = enterNamedList(m, services, interfaces);
        if (step != Step::Entered)
            return step == Step::End;
        // An interface list that ended early cannot be left; reading on
        // would take its remaining items for services.
        if (!readInterfaces(m, interfaces) ||
            !leaveContainers(m, 2)) // the interface array and the entry
        {
            leaveContainers(m, kInterfaceLevels);
            return false;
        }
    }
}

} // namespace

namespace qvm
{

int32_t readSubtreeReply(sd_bus_message* reply, json_object** out)
{
    int32_t result = QVM_RC_SUCCESS;
    if (!qvm::isReadableReply(reply, result))
        return result;
    json_object* document = json_object_new_object();
    *out = document;
    if (document == nullptr)
        return QVM_RC_FAILED;
    if (!qvm::enterReplyArray(reply, result))
        return result;
    json_object* objects = json_object_new_array();
    if (!qvm::addMember(document, "Returned Objects", objects) ||
        objects == nullptr)
    {
        leaveContainers(reply, 1);
        return QVM_RC_FAILED;
    }
    for (;;)
    {
        json_object* services = nullptr;
        const Step step = enterNamedList(reply, objects, services);
        if (step == Step::End)
            break;
        if (step == Step::Failed)
            return QVM_RC_FAILED;
        if (!readServices(reply, services))
        {
            leaveContainers(reply, 2); // the path's entry and the reply array
            return QVM_RC_FAILED;
        }
        if (!leaveContainers(reply, 2)) // the service array and the entry
        {
            leaveContainers(reply, 1);
            return QVM_RC_FAILED;
        }
    }
    return leaveContainers(reply, 1) ? QVM_RC_SUCCESS : QVM_RC_FAILED;
}

} // namespace qvm
