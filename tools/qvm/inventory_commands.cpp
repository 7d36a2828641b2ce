// qvm inventory ...: the D-Bus inventory as JSON.
#include "cli.hpp"
#include "files.hpp"
#include "handles.hpp"

#include <cstdio>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

// Pretty text of doc on standard output, or in a fresh file.
int emit(const char* title, json_object* doc, const std::string& output)
{
    char* text = nullptr;
    const int32_t rc = makeJSONstringFromDoc(doc, &text);
    if (rc != QVM_RC_SUCCESS)
        return fail(title, rc);
    const HeapText owned(text);
    if (output.empty())
    {
        std::puts(text);
        return kExitOk;
    }
    return writeFresh(output, text) ? kExitOk
                                    : failSystem("cannot write " + output);
}

int walk(const Args& args)
{
    const Bus bus(QVM_ConnectToBus());
    if (!bus)
        return fail("inventory: no bus connection", QVM_RC_FAILED);
    json_object* doc = nullptr;
    const int32_t rc = retrieveSystemObjectProperties(bus.get(), &doc);
    const Json owned(doc);
    if (rc != QVM_RC_SUCCESS)
        return fail("inventory", rc);
    return emit("inventory", doc, args.get("output"));
}

const char* orNull(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

int get(const Args& args)
{
    const Bus bus(QVM_ConnectToBus());
    if (!bus)
        return fail("inventory get: no bus connection", QVM_RC_FAILED);
    const std::string service = args.at(0);
    const std::string path = args.at(1);
    const std::string interface = args.at(2);
    json_object* doc = nullptr;
    const int32_t rc = get_properties_from_node(
        bus.get(), service.c_str(), orNull(path), orNull(interface), &doc);
    const Json owned(doc);
    if (rc != QVM_RC_SUCCESS)
        return fail("inventory get", rc);
    return emit("inventory get", doc, {});
}

} // namespace

const std::vector<Command>& inventoryCommands()
{
    static const std::vector<Command> commands{
        {"inventory", "", "[--output FILE]",
         "every object of the object mapper with all its properties\n"
         "Pretty JSON: [service, path, {interface: properties}] triples, on\n"
         "standard output or in a fresh FILE.",
         walk},
        {"inventory", "get", "SERVICE [PATH] [INTERFACE]",
         "the properties of one interface of one object\n"
         "PATH defaults to the service name as a path (a.b: /a/b), INTERFACE\n"
         "to the service name.",
         get},
    };
    return commands;
}

} // namespace qvmcli
