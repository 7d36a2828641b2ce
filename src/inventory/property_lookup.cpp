// Property lookups on single objects: GetAll of one interface, and the
// inventory daemon's file-path properties.
#include "common/handles.hpp"
#include "common/log.hpp"
#include "common/text.hpp"
#include "inventory/invd.hpp"
#include "inventory/inventory.hpp"
#include "qvmclient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvm
{
namespace
{

// The only properties of the inventory daemon that may be asked for.
constexpr const char* kInvdProperties[] = {invd::kBiosConfigurationPath,
                                           invd::kTablePath};

// Room for the leading "/" and the terminating zero, with a margin.
constexpr std::size_t kPathMargin = 16;

bool isInvdProperty(const char* name)
{
    for (const char* known : kInvdProperties)
        if (std::strcmp(name, known) == 0)
            return true;
    return false;
}

} // namespace

int32_t objectPathOf(const char* name, char** out)
{
    if (name == nullptr || out == nullptr)
        return QVM_RC_FAILED;
    const std::size_t size = std::strlen(name) + kPathMargin;
    auto* path = static_cast<char*>(std::calloc(size, 1));
    if (path == nullptr)
        return QVM_RC_FAILED;
    std::snprintf(path, size, "/%s", name);
    for (char* c = path; *c != '\0'; ++c)
        if (*c == '.')
            *c = '/';
    *out = path;
    return QVM_RC_SUCCESS;
}

int32_t readNodeProperties(sd_bus* bus, const char* service, const char* path,
                           const char* interface, json_object** out,
                           uint64_t timeout, int& callError)
{
    // Without a service there is nobody to ask; the lookup only knows
    // success and failure.
    if (service == nullptr || out == nullptr)
        return QVM_RC_FAILED;
    HeapString built;
    if (path == nullptr)
    {
        char* object = nullptr;
        if (objectPathOf(service, &object) != QVM_RC_SUCCESS)
            return QVM_RC_FAILED;
        built.reset(object);
        path = object;
    }
    const char* asked = interface != nullptr ? interface : service;

    CallOutcome call =
        callMethodWithin(timeout, bus, service, path, kPropertiesInterface,
                         "GetAll", "s", asked);
    callError = call.error;
    if (!call.reply)
        return QVM_RC_FAILED;
    JsonPtr properties = readReply(call.reply.get(), readPropertiesReply);
    if (!properties)
        return QVM_RC_FAILED;
    JsonPtr node(json_object_new_object());
    if (!node || !addMember(node.get(), asked, properties.release()))
        return QVM_RC_NO_RESOURCES;
    *out = node.release();
    return QVM_RC_SUCCESS;
}

invd::PathReply invd::getPath(sd_bus* bus, const char* name)
{
    PathReply answer;
    CallOutcome call =
        callMethodWithin(0, bus, kService, kObject, kPropertiesInterface, "Get",
                         "ss", kInterface, name);
    answer.reply = std::move(call.reply);
    answer.result = call.error;
    answer.busError = std::move(call.busError);
    if (answer.reply)
        answer.result =
            sd_bus_message_read(answer.reply.get(), "v", "s", &answer.text);
    return answer;
}

int32_t readInvdProperty(sd_bus* bus, const char* name, char** out)
{
    if (bus == nullptr || name == nullptr || out == nullptr ||
        !isInvdProperty(name))
        return QVM_RC_INVALID_REQUEST;
    const invd::PathReply answer = invd::getPath(bus, name);
    if (!answer.reply)
        return QVM_RC_FAILED;
    if (answer.result < 0)
    {
        log(facility::kUser, priority::kErr,
            "Failed to parse response message: %s\n",
            std::strerror(-answer.result));
        return QVM_RC_FAILED;
    }
    *out = answer.text != nullptr ? heapCopy(answer.text) : nullptr;
    return *out != nullptr ? QVM_RC_SUCCESS : QVM_RC_NO_RESOURCES;
}

} // namespace qvm
