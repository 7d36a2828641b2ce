// qvm inventory ...: the D-Bus inventory as JSON.
#include "bus.hpp"
#include "cli.hpp"
#include "fields/json_document.hpp"
#include "files.hpp"
#include "handles.hpp"
#include "inventory/inventory.hpp"

#include <cstdio>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

// Pretty text of doc on standard output, or in a file put in place whole.
int emit(const char* title, json_object* doc, const std::string& output)
{
    char* text = nullptr;
    const int32_t rc = qvm::jsonText(doc, &text);
    if (rc != QVM_RC_SUCCESS)
        return fail(title, rc);
    const HeapText owned(text);
    if (output.empty())
    {
        std::puts(text);
        return kExitOk;
    }
    OutputFile out(output);
    const bool written = out.problem().empty() &&
                         out.write(std::string(text) + "\n") && out.commit();
    return written ? kExitOk : failWith(title, out.problem());
}

int walk(const std::string& output)
{
    const Bus bus = connectBus("inventory");
    if (!bus)
        return kExitFailed;
    json_object* doc = nullptr;
    const int32_t rc = qvm::readSystemObjects(bus.get(), &doc);
    const Json owned(doc);
    if (rc != QVM_RC_SUCCESS)
        return failOnBus("inventory", rc, "xyz.openbmc_project.ObjectMapper");
    return emit("inventory", doc, output);
}

const char* orNull(const std::string& text)
{
    return text.empty() ? nullptr : text.c_str();
}

struct GetOptions
{
    std::string service;
    std::string path;
    std::string interface;
};

int get(const GetOptions& o)
{
    const Bus bus = connectBus("inventory get");
    if (!bus)
        return kExitFailed;
    json_object* doc = nullptr;
    int callError = 0;
    const int32_t rc =
        qvm::readNodeProperties(bus.get(), o.service.c_str(), orNull(o.path),
                                orNull(o.interface), &doc, 0, callError);
    const Json owned(doc);
    if (rc != QVM_RC_SUCCESS)
        return failOnBus("inventory get", rc, o.service);
    return emit("inventory get", doc, {});
}

} // namespace

void addInventoryCommands(Command& app)
{
    auto output = std::make_shared<std::string>();
    Command inventory = app.command(
        "inventory",
        "every object of the object mapper with all its properties\n"
        "Pretty JSON: [service, path, {interface: properties}] triples, on\n"
        "standard output or in FILE.",
        [output] { return walk(*output); });
    inventory.text("--output", *output, "where to write it", "FILE");

    auto o = std::make_shared<GetOptions>();
    Command c = inventory.command(
        "get",
        "the properties of one interface of one object\n"
        "PATH defaults to the service name as a path (a.b: /a/b), INTERFACE\n"
        "to the service name.",
        [o] { return get(*o); });
    c.argument("SERVICE", o->service, "the service name", true);
    c.argument("PATH", o->path, "the object path", false);
    c.argument("INTERFACE", o->interface, "the interface", false);
}

} // namespace qvmcli
