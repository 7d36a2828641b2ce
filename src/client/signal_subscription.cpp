// Following the manager's state: PropertiesChanged matches with the caller's
// handlers, and the loop that runs them.
#include "client/signal_subscription.hpp"

#include "common/handles.hpp"
#include "common/log.hpp"

#include <cstring>

namespace qvm
{
namespace
{

using facility::kUser;
using priority::kDebug;
using priority::kErr;
using priority::kWarning;

// Any sender: whoever emits on the manager's object is heard.
constexpr char kManagerPropertiesRule[] =
    "path='/xyz/openbmc_project/QuorvaneManager1',"
    "interface='org.freedesktop.DBus.Properties',"
    "member='PropertiesChanged',type='signal'";

} // namespace

bool subscribeManagerSignals(sd_bus* bus, const char* name,
                             sd_bus_message_handler_t handler)
{
    log(kUser, kDebug, "Signal %s\n", name);
    // No slot: the match belongs to the connection and ends with it.
    const int r = sd_bus_add_match(bus, nullptr, kManagerPropertiesRule,
                                   handler, nullptr);
    if (r < 0)
    {
        log(kUser, kErr, "Failed to register signal for %s : %s\n", name,
            std::strerror(-r));
        return false;
    }
    return true;
}

void followBus(sd_bus* bus)
{
    for (;;)
    {
        const int r = sd_bus_process(bus, nullptr);
        log(kUser, kDebug, "Process returned: %d\n", r);
        if (r < 0)
        {
            log(kUser, kWarning, "Failed to  process requests bus: %s\n",
                std::strerror(-r));
            break;
        }
        if (r > 0)
            continue;
        const int w = sd_bus_wait(bus, kWaitForever);
        if (w < 0)
        {
            log(kUser, kWarning, "Failed to wait on bus: %s\n",
                std::strerror(-w));
            break;
        }
    }
    log(kUser, kDebug, "Processing stopped\n");
}

} // namespace qvm
