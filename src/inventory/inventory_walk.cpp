// The walk over the object mapper's tree: every object, service and
// interface with its properties, as [service, path, {interface: {...}}].
#include "inventory/inventory.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

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

// A service name of the mapper's document, which outlives the walk. A
// type of this file's own, so that the list code instantiated for it stays
// out of the library's exported names (std::string's would not).
struct ServiceName
{
    const char* text;
    bool operator==(const ServiceName& other) const
    {
        return std::strcmp(text, other.text) == 0;
    }
};

// The GetAll calls of one walk and the triples they give. A service that
// lets one call time out is taken as hung and not asked again in this
// walk, so every service costs at most one time-out.
class Walk
{
  public:
    Walk(sd_bus* bus, json_object* triples)
        : bus_(bus), triples_(triples), timeout_(qvm::getAllTimeout(bus))
    {
    }

    void collectObject(const char* path, json_object* services)
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
                    const char* interface = json_object_get_string(
                        json_object_array_get_idx(list, i));
                    if (interface != nullptr && !isStandardInterface(interface))
                        collectInterface(service, path, interface);
                }
            });
    }

  private:
    // Appends [service, path, {interface: properties}] when GetAll
    // answers; a failing interface only drops its own triple.
    void collectInterface(const char* service, const char* path,
                          const char* interface)
    {
        if (std::find(hung_.begin(), hung_.end(), ServiceName{service}) !=
            hung_.end())
            return;
        json_object* node = nullptr;
        int callError = 0;
        if (qvm::readNodeProperties(bus_, service, path, interface, &node,
                                    timeout_, callError) != QVM_RC_SUCCESS ||
            node == nullptr)
        {
            if (callError == -ETIMEDOUT)
                hung_.push_back({service});
            return;
        }
        // A triple the heap cannot hold is dropped whole, like one that
        // failed.
        qvm::JsonPtr owned(node);
        qvm::JsonPtr triple(json_object_new_array());
        qvm::JsonPtr serviceText(json_object_new_string(service));
        qvm::JsonPtr pathText(json_object_new_string(path));
        if (triple && serviceText && pathText &&
            qvm::addElement(triple.get(), serviceText.release()) &&
            qvm::addElement(triple.get(), pathText.release()) &&
            qvm::addElement(triple.get(), owned.release()))
            qvm::addElement(triples_, triple.release());
    }

    sd_bus* bus_;
    json_object* triples_;
    uint64_t timeout_;
    std::vector<ServiceName> hung_; // few, so a list will do
};

} // namespace

namespace qvm
{

uint64_t getAllTimeout(sd_bus* bus) noexcept
{
    constexpr uint64_t kBound = 5'000'000; // microseconds
    uint64_t own = 0;
    if (sd_bus_get_method_call_timeout(bus, &own) < 0 || own == 0 ||
        own > kBound)
        return kBound;
    return own;
}

int32_t readObjectLists(sd_bus* bus, json_object** out)
{
    *out = nullptr;
    // The whole tree: from the root, any depth, every interface.
    const MessagePtr reply =
        callMethod(bus, kMapperService, kMapperPath, kMapperInterface,
                   "GetSubTree", "sias", "/", 0, 0);
    if (!reply)
        return QVM_RC_FAILED;
    JsonPtr document = readReply(reply.get(), readSubtreeReply);
    if (!document)
        return QVM_RC_FAILED;
    *out = document.release();
    return QVM_RC_SUCCESS;
}

int32_t readSystemObjects(sd_bus* bus, json_object** out)
{
    json_object* triples = json_object_new_array();
    *out = triples;
    if (triples == nullptr)
        return QVM_RC_NO_RESOURCES;

    json_object* mapper = nullptr;
    const int32_t r = readObjectLists(bus, &mapper);
    const JsonPtr tree(mapper);
    if (r != QVM_RC_SUCCESS)
        return r;
    Walk walk(bus, triples);
    json_object_object_foreach(tree.get(), member, objects)
    {
        (void)member;
        if (!json_object_is_type(objects, json_type_array))
            continue;
        forEachNamedArray(objects, [&](const char* path, json_object* services)
                          { walk.collectObject(path, services); });
    }
    return QVM_RC_SUCCESS;
}

} // namespace qvm
