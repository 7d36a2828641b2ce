#include "inventory.hpp"

#include "inventory/invd.hpp"
#include "tablegen/sample_location.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace standin
{
namespace
{

constexpr char kProperties[] = "org.freedesktop.DBus.Properties";

// Every object, and every node above one, answers these as sd-bus and
// other D-Bus libraries do; the mapper lists them like any interface.
const std::set<std::string> kStandardInterfaces = {
    "org.freedesktop.DBus.Introspectable",
    "org.freedesktop.DBus.Peer",
    kProperties,
};

constexpr char kUnknownObject[] = "org.freedesktop.DBus.Error.UnknownObject";
constexpr char kUnknownInterface[] =
    "org.freedesktop.DBus.Error.UnknownInterface";
constexpr char kUnknownProperty[] =
    "org.freedesktop.DBus.Error.UnknownProperty";

// path -> service -> interfaces, sorted as the mapper answers.
using Tree =
    std::map<std::string, std::map<std::string, std::set<std::string>>>;

json_object* member(json_object* object, const char* key)
{
    json_object* value = nullptr;
    return key != nullptr && json_object_object_get_ex(object, key, &value)
               ? value
               : nullptr;
}

bool isObject(json_object* o)
{
    return json_object_is_type(o, json_type_object);
}

// An interface is an object of typed properties or the name of an error.
bool isInterface(json_object* interface)
{
    if (json_object_is_type(interface, json_type_string))
        return true;
    if (!isObject(interface))
        return false;
    json_object_object_foreach(interface, name, property)
    {
        (void)name;
        if (!isObject(property) || member(property, "type") == nullptr ||
            member(property, "value") == nullptr)
            return false;
    }
    return true;
}

bool isSection(json_object* services)
{
    if (!isObject(services))
        return false;
    json_object_object_foreach(services, service, paths)
    {
        (void)service;
        if (!isObject(paths))
            return false;
        json_object_object_foreach(paths, path, interfaces)
        {
            (void)path;
            if (!isObject(interfaces))
                return false;
            json_object_object_foreach(interfaces, name, interface)
            {
                (void)name;
                if (!isInterface(interface))
                    return false;
            }
        }
    }
    return true;
}

// The nodes above path, "/" included ("/a/b" has "/" and "/a").
std::vector<std::string> ancestors(const std::string& path)
{
    std::vector<std::string> out;
    if (path == "/")
        return out;
    out.emplace_back("/");
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1))
        out.push_back(path.substr(0, slash));
    return out;
}

class Inventory
{
  public:
    explicit Inventory(json_object* services)
        : services_(json_object_get(services))
    {
        json_object_object_foreach(services, service, paths)
        {
            json_object_object_foreach(paths, path, interfaces)
            {
                auto& listed = tree_[path][service];
                listed.insert(kStandardInterfaces.begin(),
                              kStandardInterfaces.end());
                json_object_object_foreach(interfaces, name, interface)
                {
                    (void)interface;
                    listed.insert(name);
                }
                for (const auto& node : ancestors(path))
                    tree_[node][service].insert(kStandardInterfaces.begin(),
                                                kStandardInterfaces.end());
            }
        }
    }

    std::vector<std::string> services() const
    {
        std::vector<std::string> names;
        json_object_object_foreach(services_.get(), service, paths)
        {
            (void)paths;
            names.emplace_back(service);
        }
        return names;
    }

    int getAll(sd_bus_message* call) const
    {
        const char* name = nullptr;
        if (sd_bus_message_read(call, "s", &name) < 0)
            return -EINVAL;
        int replied = 0;
        json_object* interface = find(call, name, replied);
        if (interface == nullptr)
            return replied;
        const qvm::JsonPtr values(json_object_new_array());
        json_object_array_add(values.get(), json_object_get(interface));
        return replyWithJson(call, "a{sv}", values.get());
    }

    int get(sd_bus_message* call) const
    {
        const char* name = nullptr;
        const char* property = nullptr;
        if (sd_bus_message_read(call, "ss", &name, &property) < 0)
            return -EINVAL;
        int replied = 0;
        json_object* interface = find(call, name, replied);
        if (interface == nullptr)
            return replied;
        json_object* value = member(interface, property);
        if (value == nullptr)
            return replyError(call, kUnknownProperty, "no property", property);
        const qvm::JsonPtr values(json_object_new_array());
        json_object_array_add(values.get(), json_object_get(value));
        return replyWithJson(call, "v", values.get());
    }

    // GetSubTree(path, depth, interfaces): the objects below path (every
    // object for "/"), at most depth levels down (0: any depth), with the
    // interfaces of the filter only (empty: all); services and objects
    // left without interfaces are not listed.
    int getSubTree(sd_bus_message* call) const
    {
        const char* root = nullptr;
        int32_t depth = 0;
        char** filter = nullptr;
        if (sd_bus_message_read(call, "si", &root, &depth) < 0 ||
            sd_bus_message_read_strv(call, &filter) < 0)
            return -EINVAL;
        const std::set<std::string> wanted = takeStrv(filter);
        std::string prefix = root;
        if (prefix.empty() || prefix.back() != '/')
            prefix.push_back('/');

        const qvm::JsonPtr objects(json_object_new_object());
        for (const auto& [path, services] : tree_)
        {
            if (!below(path, prefix, depth))
                continue;
            json_object* listed = listServices(services, wanted);
            if (json_object_object_length(listed) > 0)
                json_object_object_add(objects.get(), path.c_str(), listed);
            else
                json_object_put(listed);
        }
        const qvm::JsonPtr values(json_object_new_array());
        json_object_array_add(values.get(), json_object_get(objects.get()));
        return replyWithJson(call, "a{sa{sas}}", values.get());
    }

  private:
    static std::set<std::string> takeStrv(char** strv)
    {
        std::set<std::string> out;
        for (char** s = strv; s != nullptr && *s != nullptr; ++s)
        {
            out.insert(*s);
            std::free(*s);
        }
        std::free(static_cast<void*>(strv));
        return out;
    }

    // path lies under prefix ("/" holds every path, itself included) at
    // most depth levels down.
    static bool below(const std::string& path, const std::string& prefix,
                      int32_t depth)
    {
        if (path.compare(0, prefix.size(), prefix) != 0 &&
            !(prefix == "/" && path == "/"))
            return false;
        if (depth <= 0)
            return true;
        const std::size_t start = prefix.size() - 1;
        const auto levels = std::count(path.begin() + start, path.end(), '/');
        return levels <= depth;
    }

    static json_object*
    listServices(const std::map<std::string, std::set<std::string>>& services,
                 const std::set<std::string>& wanted)
    {
        json_object* listed = json_object_new_object();
        for (const auto& [service, interfaces] : services)
        {
            json_object* names = json_object_new_array();
            for (const auto& name : interfaces)
                if (wanted.empty() || wanted.count(name) > 0)
                    json_object_array_add(names,
                                          json_object_new_string(name.c_str()));
            if (json_object_array_length(names) > 0)
                json_object_object_add(listed, service.c_str(), names);
            else
                json_object_put(names);
        }
        return listed;
    }

    // Answers call with the error name; the handler's result.
    static int replyError(sd_bus_message* call, const char* error,
                          const char* what, const char* name)
    {
        const int r =
            sd_bus_reply_method_errorf(call, error, "%s '%s'", what, name);
        return r < 0 ? r : 1;
    }

    // The properties of the interface asked for on the call's service and
    // object; null after answering with an error (result in replied).
    json_object* find(sd_bus_message* call, const char* name,
                      int& replied) const
    {
        const char* path = sd_bus_message_get_path(call);
        json_object* paths =
            member(services_.get(), sd_bus_message_get_destination(call));
        json_object* interfaces = paths ? member(paths, path) : nullptr;
        json_object* interface =
            interfaces ? member(interfaces, name) : nullptr;
        if (interfaces == nullptr)
            replied = replyError(call, kUnknownObject, "no object", path);
        else if (interface == nullptr)
            replied = replyError(call, kUnknownInterface, "no interface", name);
        else if (json_object_is_type(interface, json_type_string))
            replied = replyError(call, json_object_get_string(interface),
                                 "the fixture fails interface", name);
        else
            return interface;
        return nullptr;
    }

    qvm::JsonPtr services_;
    Tree tree_;
};

// Declares every object of the inventory with its interfaces and their
// property types, so that introspection shows what GetAll answers.
void declareObjects(Standin& standin, json_object* services)
{
    json_object_object_foreach(services, service, paths)
    {
        json_object_object_foreach(paths, path, interfaces)
        {
            json_object_object_foreach(interfaces, name, interface)
            {
                auto& declared = standin.declare(service, path, name);
                if (!isObject(interface))
                    continue; // answers with an error: no properties
                json_object_object_foreach(interface, property, typed)
                {
                    declared.properties[property] =
                        json_object_get_string(member(typed, "type"));
                }
            }
        }
    }
}

// Without an inventory of its own the stand-in still serves the inventory
// daemon's OEM object, so a table path can be asked of it (and scripted).
constexpr char kDefaultInventory[] = R"({
  "xyz.openbmc_project.invd": {
    "/xyz/openbmc_project/invd/oem": {
      "xyz.openbmc_project.Inventory.Item.Oem": {
        "BiosConfigurationFilePath":
          {"type": "s", "value": "/var/lib/qvm-standin/bios-config.json"}
      }
    }
  }
})";

// The object member key of parent, made (or made an object) when it is
// not one.
json_object* objectMember(json_object* parent, const char* key)
{
    json_object* value = member(parent, key);
    if (isObject(value))
        return value;
    value = json_object_new_object();
    json_object_object_add(parent, key, value);
    return value;
}

// The daemon's FullSMBIOSTablePath in section becomes path.
void nameTable(json_object* section, const std::string& path)
{
    json_object* properties =
        objectMember(objectMember(objectMember(section, qvm::invd::kService),
                                  qvm::invd::kObject),
                     qvm::invd::kInterface);
    json_object* typed = json_object_new_object();
    json_object_object_add(typed, "type", json_object_new_string("s"));
    json_object_object_add(typed, "value",
                           json_object_new_string(path.c_str()));
    json_object_object_add(properties, qvm::invd::kTablePath, typed);
}

// The bundled sample, which qvm reads as well; where it is missing, a path
// that says so.
std::string defaultTable()
{
    const std::string sample = tablegen::sampleTablePath();
    return sample.empty() ? "/var/lib/qvm-standin/sample-table.bin-is-missing"
                          : sample;
}

} // namespace

bool addInventory(Standin& standin, json_object* fixture,
                  const std::string& smbiosTable)
{
    json_object* section = fixture ? member(fixture, "inventory") : nullptr;
    if (section != nullptr && !isSection(section))
        return false;
    const qvm::JsonPtr fallback(json_tokener_parse(kDefaultInventory));
    if (section == nullptr)
        section = fallback.get();
    if (!smbiosTable.empty())
        nameTable(section, smbiosTable);
    else if (section == fallback.get())
        nameTable(section, defaultTable());
    const auto inventory = std::make_shared<const Inventory>(section);
    declareObjects(standin, section);

    standin.addEndpoint({kMapperService, kMapperPath, kMapperInterface,
                         "GetSubTree", "sias", "a{sa{sas}}", "[{}]",
                         [inventory](Standin&, sd_bus_message* call)
                         { return inventory->getSubTree(call); }});
    for (const auto& service : inventory->services())
    {
        standin.addEndpoint({service, "", kProperties, "GetAll", "s", "a{sv}",
                             "[{}]", [inventory](Standin&, sd_bus_message* m) {
                                 return inventory->getAll(m);
                             }});
        standin.addEndpoint({service, "", kProperties, "Get", "ss", "v",
                             "[{\"type\": \"s\", \"value\": \"\"}]",
                             [inventory](Standin&, sd_bus_message* m)
                             { return inventory->get(m); }});
    }
    return true;
}

} // namespace standin
