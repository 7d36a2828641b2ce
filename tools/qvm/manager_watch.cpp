#include "manager_watch.hpp"

#include "client/manager_call.hpp"
#include "client/signal_subscription.hpp"
#include "handles.hpp"
#include "inventory/inventory.hpp"

#include <cstdio>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

// Reads the rest of a PropertiesChanged message (the changed properties,
// a{sv}, then the invalidated names, as) into change.
void readChange(sd_bus_message* m, json_object* change)
{
    json_object* changed = nullptr;
    qvm::readPropertiesReply(m, &changed);
    json_object_object_add(change, "changed",
                           changed ? changed : json_object_new_object());
    json_object* invalidated = json_object_new_array();
    json_object_object_add(change, "invalidated", invalidated);
    if (sd_bus_message_enter_container(m, 'a', "s") <= 0)
        return;
    const char* name = nullptr;
    while (sd_bus_message_read(m, "s", &name) > 0)
        json_object_array_add(invalidated, json_object_new_string(name));
    sd_bus_message_exit_container(m);
}

// One line per signal, flushed at once so that a pipe sees it.
int onChange(sd_bus_message* m, void*, sd_bus_error*)
{
    const char* interface = nullptr;
    if (sd_bus_message_read(m, "s", &interface) < 0)
        return 0;
    const Json change(json_object_new_object());
    const char* path = sd_bus_message_get_path(m);
    json_object_object_add(change.get(), "path",
                           json_object_new_string(path ? path : ""));
    json_object_object_add(change.get(), "interface",
                           json_object_new_string(interface));
    readChange(m, change.get());
    std::puts(json_object_to_json_string_ext(
        change.get(), JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE));
    std::fflush(stdout);
    return 0;
}

} // namespace

int watchManager()
{
    const Bus bus = qvm::defaultBus();
    if (!bus)
        return fail("manager watch: no bus connection", QVM_RC_FAILED);
    if (!qvm::subscribeManagerSignals(bus.get(), "qvm", onChange))
        return fail("manager watch", QVM_RC_FAILED);
    std::fputs("qvm: watching the manager's properties; interrupt to stop\n",
               stderr);
    // Following ends only when the bus fails.
    qvm::followBus(bus.get());
    return fail("manager watch", QVM_RC_FAILED);
}

} // namespace qvmcli
