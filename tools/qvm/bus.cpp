#include "bus.hpp"

#include "cli.hpp"

#include <cstdlib>
#include <cstring>

namespace qvmcli
{
namespace
{

// Where sd-bus finds the system bus when nothing else is said.
constexpr char kSystemBus[] = "unix:path=/run/dbus/system_bus_socket";

} // namespace

void useBus(const std::string& address)
{
    // Without it, sd_bus_default picks the user bus in a login session.
    setenv("DBUS_STARTER_BUS_TYPE", "system", 1);
    if (!address.empty())
        setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
}

std::string busAddress()
{
    const char* address = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return address != nullptr && *address != '\0' ? address : kSystemBus;
}

Bus defaultBus(int& error)
{
    sd_bus* bus = nullptr;
    error = sd_bus_default(&bus);
    return Bus(error < 0 ? nullptr : bus);
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

} // namespace qvmcli
