#include "standin.hpp"

#include "json_dbus.hpp"

#include <cerrno>
#include <cstring>
#include <set>

namespace standin
{
namespace
{

std::string text(const char* s)
{
    return s ? s : "";
}

std::string toJsonText(json_object* o)
{
    return json_object_to_json_string_ext(o, JSON_C_TO_STRING_PLAIN);
}

const char* memberOf(json_object* o, const char* key, const char* fallback)
{
    json_object* v = nullptr;
    return json_object_object_get_ex(o, key, &v) ? json_object_get_string(v)
                                                 : fallback;
}

} // namespace

int replyWithJson(sd_bus_message* call, const std::string& signature,
                  json_object* values)
{
    sd_bus_message* raw = nullptr;
    int r = sd_bus_message_new_method_return(call, &raw);
    const qvm::MessagePtr reply(raw);
    if (r < 0 || (r = appendJsonArgs(raw, signature, values)) < 0)
        return r;
    return sd_bus_send(nullptr, raw, nullptr);
}

Standin::Standin(sd_bus* bus) : bus_(bus)
{
    sd_bus_slot* slot = nullptr;
    sd_bus_add_fallback(bus_, &slot, "/", &Standin::onMessage, this);
    slot_.reset(slot);
    addControl();
}

void Standin::addEndpoint(Endpoint endpoint)
{
    endpoints_.push_back(std::move(endpoint));
}

InterfaceDescription& Standin::declare(const std::string& service,
                                       const std::string& path,
                                       const std::string& interface)
{
    return declared_[{service, path}][interface];
}

ObjectDescription Standin::describe(const std::string& service,
                                    const std::string& path) const
{
    ObjectDescription object;
    const auto declared = declared_.find({service, path});
    if (declared != declared_.end())
        object.interfaces = declared->second;
    const std::string below = path == "/" ? "/" : path + "/";
    const auto addChild = [&](const std::string& other)
    {
        if (other.size() > below.size() && other.starts_with(below))
            object.children.insert(other.substr(
                below.size(), other.find('/', below.size()) - below.size()));
    };
    for (const auto& [key, interfaces] : declared_)
        if (key.first == service)
            addChild(key.second);
    for (const auto& e : endpoints_)
    {
        if (!e.service.empty() && e.service != service)
            continue;
        addChild(e.path);
        if (e.path == path || (e.path.empty() && declared != declared_.end()))
            object.interfaces[e.interface].methods[e.member] = {
                e.argSignature, e.replySignature};
    }
    return object;
}

int Standin::requestNames()
{
    std::set<std::string> names;
    for (const auto& e : endpoints_)
        if (!e.service.empty())
            names.insert(e.service);
    for (const auto& name : names)
    {
        const int r = sd_bus_request_name(bus_, name.c_str(), 0);
        if (r < 0 && r != -EALREADY)
            return r;
    }
    return 0;
}

void Standin::script(const std::string& key, const std::string& json)
{
    scripts_[key] = json;
}

std::vector<std::string> Standin::calls(const std::string& key) const
{
    const auto it = calls_.find(key);
    return it == calls_.end() ? std::vector<std::string>{} : it->second;
}

void Standin::reset()
{
    scripts_.clear();
    calls_.clear();
}

int Standin::emitPropertiesChanged(const std::string& path,
                                   const std::string& interface,
                                   const std::string& changedJson)
{
    const qvm::JsonPtr changed(json_tokener_parse(changedJson.c_str()));
    if (!changed)
        return -EINVAL;
    sd_bus_message* raw = nullptr;
    int r = sd_bus_message_new_signal(bus_, &raw, path.c_str(),
                                      "org.freedesktop.DBus.Properties",
                                      "PropertiesChanged");
    const qvm::MessagePtr signal(raw);
    if (r < 0 || (r = sd_bus_message_append(raw, "s", interface.c_str())) < 0 ||
        (r = appendJson(raw, "a{sv}", changed.get())) < 0 ||
        (r = sd_bus_message_append(raw, "as", 0)) < 0)
        return r;
    return sd_bus_send(bus_, raw, nullptr);
}

qvm::JsonPtr Standin::scriptFor(sd_bus_message* m) const
{
    const std::string member = text(sd_bus_message_get_member(m));
    for (const auto& key :
         {text(sd_bus_message_get_path(m)) + ":" + member, member})
    {
        const auto it = scripts_.find(key);
        if (it != scripts_.end())
            return qvm::JsonPtr(json_tokener_parse(it->second.c_str()));
    }
    return nullptr;
}

int Standin::onMessage(sd_bus_message* m, void* userdata, sd_bus_error* error)
{
    return static_cast<Standin*>(userdata)->dispatch(m, error);
}

const Endpoint* Standin::find(sd_bus_message* m) const
{
    const std::string destination = text(sd_bus_message_get_destination(m));
    const std::string path = text(sd_bus_message_get_path(m));
    const std::string interface = text(sd_bus_message_get_interface(m));
    const std::string member = text(sd_bus_message_get_member(m));
    for (const auto& e : endpoints_)
        if ((e.service.empty() || e.service == destination) &&
            (e.path.empty() || e.path == path) && e.interface == interface &&
            e.member == member)
            return &e;
    return nullptr;
}

void Standin::record(sd_bus_message* m)
{
    const qvm::JsonPtr args(readJsonArgs(m));
    sd_bus_message_rewind(m, 1);
    const std::string entry = args ? toJsonText(args.get()) : "null";
    const std::string member = text(sd_bus_message_get_member(m));
    calls_[member].push_back(entry);
    calls_[text(sd_bus_message_get_path(m)) + ":" + member].push_back(entry);
}

int Standin::dispatch(sd_bus_message* m, sd_bus_error* error)
{
    if (!sd_bus_message_is_method_call(m, nullptr, nullptr))
        return 0;
    if (sd_bus_message_is_method_call(m, "org.freedesktop.DBus.Introspectable",
                                      "Introspect"))
        return sd_bus_reply_method_return(
            m, "s",
            introspectionXml(describe(text(sd_bus_message_get_destination(m)),
                                      text(sd_bus_message_get_path(m))))
                .c_str());
    const Endpoint* endpoint = find(m);
    if (endpoint == nullptr)
        return 0; // sd-bus answers UnknownMethod / UnknownObject
    // Calls of the control interface itself are neither recorded nor
    // scripted: a script must not be able to take the control away.
    const bool control = endpoint->service == kControlService;
    if (!control)
        record(m);
    if (text(sd_bus_message_get_signature(m, 1)) != endpoint->argSignature)
        return sd_bus_error_setf(error, SD_BUS_ERROR_INVALID_ARGS,
                                 "expected signature '%s'",
                                 endpoint->argSignature.c_str());
    return control ? endpoint->handler(*this, m) : reply(*endpoint, m, error);
}

int Standin::reply(const Endpoint& endpoint, sd_bus_message* m,
                   sd_bus_error* error)
{
    const qvm::JsonPtr script = scriptFor(m);
    if (script)
    {
        // A hung service: the call is taken and never answered, so the
        // caller waits for its time-out.
        json_object* hang = nullptr;
        if (json_object_object_get_ex(script.get(), "hang", &hang) &&
            json_object_get_boolean(hang))
            return 1;
        json_object* name = nullptr;
        if (json_object_object_get_ex(script.get(), "error", &name))
            return sd_bus_error_set(error, json_object_get_string(name),
                                    memberOf(script.get(), "message", ""));
        json_object* values = nullptr;
        if (json_object_object_get_ex(script.get(), "reply", &values))
            return replyWithJson(m,
                                 memberOf(script.get(), "signature",
                                          endpoint.replySignature.c_str()),
                                 values);
    }
    if (endpoint.handler)
        return endpoint.handler(*this, m);
    const qvm::JsonPtr values(
        json_tokener_parse(endpoint.defaultReply.c_str()));
    return replyWithJson(m, endpoint.replySignature, values.get());
}

void Standin::addControl()
{
    const auto add = [this](const char* member, const char* args,
                            const char* reply, Handler handler)
    {
        addEndpoint({kControlService, kControlPath, kControlInterface, member,
                     args, reply, "[]", std::move(handler)});
    };
    add("Script", "ss", "",
        [](Standin& s, sd_bus_message* m)
        {
            const char* key = nullptr;
            const char* json = nullptr;
            const int r = sd_bus_message_read(m, "ss", &key, &json);
            if (r < 0)
                return r;
            s.script(key, json);
            return sd_bus_reply_method_return(m, nullptr);
        });
    add("Calls", "s", "as",
        [](Standin& s, sd_bus_message* m)
        {
            const char* key = nullptr;
            const int r = sd_bus_message_read(m, "s", &key);
            if (r < 0)
                return r;
            const qvm::JsonPtr values(json_object_new_array());
            json_object* strings = json_object_new_array();
            for (const auto& entry : s.calls(key))
                json_object_array_add(strings,
                                      json_object_new_string(entry.c_str()));
            json_object_array_add(values.get(), strings);
            return replyWithJson(m, "as", values.get());
        });
    add("Reset", "", "",
        [](Standin& s, sd_bus_message* m)
        {
            s.reset();
            return sd_bus_reply_method_return(m, nullptr);
        });
    add("Emit", "sss", "",
        [](Standin& s, sd_bus_message* m)
        {
            const char* path = nullptr;
            const char* interface = nullptr;
            const char* changed = nullptr;
            int r = sd_bus_message_read(m, "sss", &path, &interface, &changed);
            if (r < 0 ||
                (r = s.emitPropertiesChanged(path, interface, changed)) < 0)
                return r;
            return sd_bus_reply_method_return(m, nullptr);
        });
}

} // namespace standin
