// The walk over the object mapper's tree: every object, service and
// interface with its properties, as [service, path, {interface: {...}}].
#include "inventory/inventory.hpp"
#include "qvmclient.h"

#include <cstring>
#include <string_view>

namespace
{

constexpr char kMapperService[] = "xyz.openbmc_project.ObjectMapper";
constexpr char kMapperPath[] = "/xyz/openbmc_project/object_mapper";
constexpr char kMapperInterface[] = "xyz.openbmc_project.ObjectMapper";

// The root and the namespace objects above the services' own objects.
constexpr std::string_view kSkippedPaths[] = {"/", "/xyz",
                                              "/xyz/openbmc_project"};
// The standard D-Bus interfaces (Properties, Introspectable, Peer and the
// like) carry no inventory data.
constexpr std::string_view kStandardInterfacePrefix = "org.freedesktop.DBus";

bool isSkippedPath(std::string_view path)
{
    for (const auto skipped : kSkippedPaths)
        if (path == skipped)
            return true;
    return false;
}

bool isStandardInterface(const char* name)
{
    return std::strncmp(name, kStandardInterfacePrefix.data(),
                        kStandardInterfacePrefix.size()) == 0;
}

// Calls f(name, array) for every member of every object in list whose
// value is a non-empty array.
template <typename F> void forEachNamedArray(json_object* list, F&& f)
{
    const std::size_t count = json_object_array_length(list);
    for (std::size_t i = 0; i < count; ++i)
    {
        json_object* element = json_object_array_get_idx(list, i);
        if (!json_object_is_type(element, json_type_object))
            continue;
        json_object_object_foreach(element, name, value)
        {
            if (json_object_is_type(value, json_type_array) &&
                json_object_array_length(value) > 0)
                f(name, value);
        }
    }
}

// Appends [service, path, {interface: properties}] to triples when GetAll
// answers; a failing interface only drops its own triple.
void collectInterface(sd_bus* bus, const char* service, const char* path,
                      const char* interface, json_object* triples)
{
    json_object* node = nullptr;
    if (get_properties_from_node(bus, service, path, interface, &node) !=
            QVM_RC_SUCCESS ||
        node == nullptr)
        return;
    json_object* triple = json_object_new_array();
    json_object_array_add(triple, json_object_new_string(service));
    json_object_array_add(triple, json_object_new_string(path));
    json_object_array_add(triple, node);
    json_object_array_add(triples, triple);
}

void collectObject(sd_bus* bus, const char* path, json_object* services,
                   json_object* triples)
{
    if (isSkippedPath(path))
        return;
    forEachNamedArray(
        services,
        [&](const char* service, json_object* list)
        {
            const std::size_t count = json_object_array_length(list);
            for (std::size_t i = 0; i < count; ++i)
            {
                const char* interface =
                    json_object_get_string(json_object_array_get_idx(list, i));
                if (interface != nullptr && !isStandardInterface(interface))
                    collectInterface(bus, service, path, interface, triples);
            }
        });
}

} // namespace

extern "C" int32_t get_object_lists(sd_bus* bus, json_object** out)
{
    if (out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    *out = nullptr;
    // The whole tree: from the root, any depth, every interface.
    const qvm::MessagePtr reply =
        qvm::callMethod(bus, kMapperService, kMapperPath, kMapperInterface,
                        "GetSubTree", "sias", "/", 0, 0);
    if (!reply)
        return QVM_RC_FAILED;
    qvm::JsonPtr document =
        qvm::readReply(reply.get(), make_JSON_object_from_GetSubTreeReply);
    if (!document)
        return QVM_RC_FAILED;
    *out = document.release();
    return QVM_RC_SUCCESS;
}

extern "C" int32_t retrieveSystemObjectProperties(sd_bus* bus,
                                                  json_object** out)
{
    if (bus == nullptr || out == nullptr)
        return QVM_RC_INVALID_REQUEST;
    json_object* triples = json_object_new_array();
    *out = triples;

    json_object* mapper = nullptr;
    const int32_t r = get_object_lists(bus, &mapper);
    const qvm::JsonPtr tree(mapper);
    if (r != QVM_RC_SUCCESS)
        return r;
    json_object_object_foreach(tree.get(), member, objects)
    {
        (void)member;
        if (!json_object_is_type(objects, json_type_array))
            continue;
        forEachNamedArray(objects, [&](const char* path, json_object* services)
                          { collectObject(bus, path, services, triples); });
    }
    return QVM_RC_SUCCESS;
}
