#include "bus.hpp"

#include "cli.hpp"
#include "common/handles.hpp"
#include "diagnostics.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace qvmcli
{
namespace
{

// Where sd-bus finds the system bus when nothing else is said.
constexpr char kSystemBus[] = "unix:path=/run/dbus/system_bus_socket";
constexpr double kMicroseconds = 1e6;

bool chosen = false;
uint64_t callTimeout = 0; // microseconds; 0: sd-bus's own

} // namespace

void useBus(const std::string& address, double timeout)
{
    // Without it, sd_bus_default picks the user bus in a login session.
    setenv("DBUS_STARTER_BUS_TYPE", "system", 1);
    chosen = !address.empty();
    if (chosen)
        setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
    callTimeout = static_cast<uint64_t>(std::ceil(timeout * kMicroseconds));
}

std::string busAddress()
{
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return address != nullptr && *address != '\0' ? address : kSystemBus;
}

bool busChosen()
{
    return chosen;
}

Bus defaultBus(int& error)
{
    sd_bus* bus = nullptr;
    error = sd_bus_default(&bus);
    if (error < 0)
        return nullptr;
    if (callTimeout != 0)
        sd_bus_set_method_call_timeout(bus, callTimeout);
    return Bus(bus);
}

Bus connectBus(const std::string& what)
{
    int error = 0;
    Bus bus = defaultBus(error);
    if (!bus)
        failWith(what, "cannot connect to the bus at " + busAddress() + ": " +
                           std::strerror(-error));
    return bus;
}

bool nameHasOwner(sd_bus* bus, const char* name)
{
    sd_bus_message* raw = nullptr;
    const int r = sd_bus_call_method(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
        "org.freedesktop.DBus", "NameHasOwner", nullptr, &raw, "s", name);
    const Message reply(raw);
    int owned = 0;
    if (r >= 0)
        sd_bus_message_read(reply.get(), "b", &owned);
    return owned != 0;
}

std::string whyUnreachable(sd_bus* bus, const std::string& service)
{
    qvm::BusError error;
    sd_bus_message* raw = nullptr;
    const int r = sd_bus_call_method(bus, service.c_str(), "/",
                                     "org.freedesktop.DBus.Peer", "Ping",
                                     error.get(), &raw, "");
    const Message reply(raw);
    if (r >= 0)
        return {};
    const sd_bus_error* e = error.get();
    return "on the bus at " + busAddress() + ", " + service + ": " +
           (sd_bus_error_is_set(e)
                ? std::string(e->name) + ": " + (e->message ? e->message : "")
                : std::string(std::strerror(-r)));
}

int failOnBus(const std::string& what, int64_t status,
              const std::string& service)
{
    int error = 0;
    const Bus bus = defaultBus(error);
    const std::string why = bus ? whyUnreachable(bus.get(), service)
                                : "cannot connect to the bus at " +
                                      busAddress() + ": " +
                                      std::strerror(-error);
    // The bus's reason first, the library's status after it, on one line.
    failWith(what, why.empty() ? statusText(status)
                               : why + " (" + statusText(status) + ")");
    printCauses();
    return kExitFailed;
}

} // namespace qvmcli
