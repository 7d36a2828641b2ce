// qvm-standin: serves the manager, the event log, the object mapper and the
// fixture's inventory on a D-Bus bus, scriptable through
// net.qvmclient.Standin.Control.
#include "common/handles.hpp"
#include "connect.hpp"
#include "inventory.hpp"
#include "private_bus.hpp"
#include "services.hpp"
#include "standin.hpp"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <systemd/sd-event.h>

namespace
{

constexpr char kUsage[] =
    "Usage: qvm-standin [--private | --address ADDRESS] [--fixture FILE]\n"
    "                   [--smbios-table FILE]\n"
    "\n"
    "Serves stand-ins of the BMC platform services on a D-Bus bus.\n"
    "  --private             start a private dbus-daemon for the services\n"
    "  --address ADDRESS     serve on the bus at ADDRESS (default: system "
    "bus)\n"
    "  --fixture FILE        JSON fixture: scripted replies and inventory\n"
    "  --smbios-table FILE   the table the inventory daemon names (default:\n"
    "                        the bundled sample, unless the fixture names "
    "one)\n"
    "When ready it prints DBUS_SYSTEM_BUS_ADDRESS=<address> on standard\n"
    "output; it runs until SIGTERM or SIGINT.\n";

struct Options
{
    bool privateBus = false;
    std::string address;
    std::string fixture;
    std::string smbiosTable;
};

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--private")
            options.privateBus = true;
        else if (arg == "--address" && i + 1 < argc)
            options.address = argv[++i];
        else if (arg == "--fixture" && i + 1 < argc)
            options.fixture = argv[++i];
        else if (arg == "--smbios-table" && i + 1 < argc)
            options.smbiosTable = argv[++i];
        else
            return false;
    }
    return true;
}

struct EventUnref
{
    void operator()(sd_event* e) const noexcept { sd_event_unref(e); }
};

qvm::BusPtr connect(const std::string& address)
{
    if (!address.empty())
        return standin::connectBus(address);
    sd_bus* raw = nullptr;
    if (sd_bus_open_system(&raw) < 0)
        return nullptr;
    return qvm::BusPtr(raw);
}

// Scripts and inventory from the fixture file; without one, the services
// keep their defaults and the inventory is the daemon's object alone.
bool loadFixtureFile(standin::Standin& standin, const std::string& path,
                     const std::string& smbiosTable)
{
    qvm::JsonPtr fixture;
    if (!path.empty())
    {
        fixture.reset(json_object_from_file(path.c_str()));
        if (!fixture)
            return false;
    }
    return standin::loadFixture(standin, fixture.get()) &&
           standin::addInventory(standin, fixture.get(), smbiosTable);
}

int serve(const Options& options)
{
    standin::PrivateBus privateBus;
    std::string address = options.address;
    if (options.privateBus)
    {
        if (!privateBus.start())
            return 1;
        address = privateBus.address();
    }
    const qvm::BusPtr bus = connect(address);
    if (!bus)
    {
        std::fprintf(stderr, "qvm-standin: cannot connect to the bus\n");
        return 1;
    }
    standin::Standin standin(bus.get());
    standin::addManager(standin);
    standin::addEventLogging(standin);
    if (!loadFixtureFile(standin, options.fixture, options.smbiosTable))
    {
        std::fprintf(stderr, "qvm-standin: bad fixture %s\n",
                     options.fixture.c_str());
        return 1;
    }
    if (standin.requestNames() < 0)
    {
        std::fprintf(stderr, "qvm-standin: cannot own the service names\n");
        return 1;
    }

    sd_event* raw = nullptr;
    sd_event_default(&raw);
    const std::unique_ptr<sd_event, EventUnref> event(raw);
    sigset_t mask;
    sigemptyset(&mask);
    sigaddset(&mask, SIGTERM);
    sigaddset(&mask, SIGINT);
    sigprocmask(SIG_BLOCK, &mask, nullptr);
    sd_event_add_signal(raw, nullptr, SIGTERM, nullptr, nullptr);
    sd_event_add_signal(raw, nullptr, SIGINT, nullptr, nullptr);
    sd_bus_attach_event(bus.get(), raw, SD_EVENT_PRIORITY_NORMAL);

    std::printf("DBUS_SYSTEM_BUS_ADDRESS=%s\n",
                address.empty() ? "(system bus)" : address.c_str());
    std::fflush(stdout);
    sd_event_loop(raw);
    sd_bus_detach_event(bus.get());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 ||
                     std::strcmp(argv[1], "-h") == 0))
    {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!parse(argc, argv, options))
    {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return serve(options);
}
