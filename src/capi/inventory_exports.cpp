// The inventory functions of the C interface.
#include "inventory/inventory.hpp"

#include "qvmclient.h"

namespace
{

// A reply reader of the interface: both pointers are required.
template <int32_t (*Read)(sd_bus_message*, json_object**)>
int32_t readGiven(sd_bus_message* reply, json_object** out)
{
    if (reply == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return Read(reply, out);
}

} // namespace

extern "C" int32_t make_JSON_object_from_GetAllReply(sd_bus_message* reply,
                                                     json_object** out)
{
    return readGiven<qvm::readPropertiesReply>(reply, out);
}

extern "C" int32_t make_JSON_object_from_GetSubTreeReply(sd_bus_message* reply,
                                                         json_object** out)
{
    return readGiven<qvm::readSubtreeReply>(reply, out);
}

extern "C" int32_t make_object_from_servicename(const char* name, char** out)
{
    return qvm::objectPathOf(name, out);
}

extern "C" int32_t get_properties_from_node(sd_bus* bus, const char* service,
                                            const char* path,
                                            const char* interface,
                                            json_object** out)
{
    int callError = 0;
    return qvm::readNodeProperties(bus, service, path, interface, out, 0,
                                   callError);
}

extern "C" int32_t get_object_lists(sd_bus* bus, json_object** out)
{
    if (out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::readObjectLists(bus, out);
}

extern "C" int32_t retrieveSystemObjectProperties(sd_bus* bus,
                                                  json_object** out)
{
    if (bus == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return qvm::readSystemObjects(bus, out);
}

extern "C" int32_t get_property_from_invd(sd_bus* bus, const char* name,
                                          char** out)
{
    return qvm::readInvdProperty(bus, name, out);
}
