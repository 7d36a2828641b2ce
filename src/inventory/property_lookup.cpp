// Property lookups on single objects: GetAll of one interface, and the
// inventory daemon's file-path properties.
#include "common/handles.hpp"
#include "common/log.hpp"
#include "common/text.hpp"
#include "inventory/inventory.hpp"
#include "qvmclient.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

constexpr char kInvdService[] = "xyz.openbmc_project.invd";
constexpr char kInvdPath[] = "/xyz/openbmc_project/invd/oem";
constexpr char kInvdInterface[] = "xyz.openbmc_project.Inventory.Item.Oem";

// The only properties of the inventory daemon that may be asked for.
constexpr const char* kInvdProperties[] = {"BiosConfigurationFilePath",
                                           "FullSMBIOSTablePath"};

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

extern "C" int32_t make_object_from_servicename(const char* name, char** out)
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

namespace qvm
{

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
        if (make_object_from_servicename(service, &object) != QVM_RC_SUCCESS)
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
    JsonPtr properties =
        readReply(call.reply.get(), make_JSON_object_from_GetAllReply);
    if (!properties)
        return QVM_RC_FAILED;
    json_object* node = json_object_new_object();
    json_object_object_add(node, asked, properties.release());
    *out = node;
    return QVM_RC_SUCCESS;
}

} // namespace qvm

extern "C" int32_t get_properties_from_node(sd_bus* bus, const char* service,
                                            const char* path,
                                            const char* interface,
                                            json_object** out)
{
    int callError = 0;
    return qvm::readNodeProperties(bus, service, path, interface, out, 0,
                                   callError);
}

extern "C" int32_t get_property_from_invd(sd_bus* bus, const char* name,
                                          char** out)
{
    if (bus == nullptr || name == nullptr || out == nullptr ||
        !isInvdProperty(name))
        return QVM_RC_INVALID_REQUEST;

    const qvm::MessagePtr reply =
        qvm::callMethod(bus, kInvdService, kInvdPath, qvm::kPropertiesInterface,
                        "Get", "ss", kInvdInterface, name);
    if (!reply)
        return QVM_RC_FAILED;

    const char* text = nullptr;
    const int r = sd_bus_message_read(reply.get(), "v", "s", &text);
    if (r < 0)
    {
        QVM_Logger(qvm::log::kUser, qvm::log::kErr,
                   "Failed to parse response message: %s\n", std::strerror(-r));
        return QVM_RC_FAILED;
    }
    *out = text != nullptr ? qvm::heapCopy(text) : nullptr;
    return *out != nullptr ? QVM_RC_SUCCESS : QVM_RC_NO_RESOURCES;
}
