// Following the manager's state: PropertiesChanged matches with the caller's
// handlers, and the loop that runs them.
#include "common/handles.hpp"
#include "common/log.hpp"
#include "qvmclient.h"

#include <cstring>
#include <systemd/sd-bus.h>

namespace
{

using qvm::facility::kUser;
using qvm::priority::kDebug;
using qvm::priority::kErr;
using qvm::priority::kWarning;

// Any sender: whoever emits on the manager's object is heard.
constexpr char kManagerPropertiesRule[] =
    "path='/xyz/openbmc_project/QuorvaneManager1',"
    "interface='org.freedesktop.DBus.Properties',"
    "member='PropertiesChanged',type='signal'";

} // namespace

extern "C" int32_t QVM_ClientSignalInit(const char* name,
                                        sd_bus_message_handler_t handler,
                                        sd_bus* bus)
{
    if (name == nullptr || bus == nullptr)
        return QVM_RC_INVALID_REQUEST;
    qvm::log(kUser, kDebug, "Signal %s\n", name);
    // No slot: the match belongs to the connection and ends with it.
    const int r = sd_bus_add_match(bus, nullptr, kManagerPropertiesRule,
                                   handler, nullptr);
    if (r < 0)
    {
        qvm::log(kUser, kErr, "Failed to register signal for %s : %s\n", name,
                 std::strerror(-r));
        return QVM_RC_FAILED;
    }
    return QVM_RC_SUCCESS;
}

extern "C" int32_t QVM_ClientSignalWait(sd_bus* bus)
{
    for (;;)
    {
        const int r = sd_bus_process(bus, nullptr);
        qvm::log(kUser, kDebug, "Process returned: %d\n", r);
        if (r < 0)
        {
            qvm::log(kUser, kWarning, "Failed to  process requests bus: %s\n",
                     std::strerror(-r));
            break;
        }
        if (r > 0)
            continue;
        const int w = sd_bus_wait(bus, qvm::kWaitForever);
        if (w < 0)
        {
            qvm::log(kUser, kWarning, "Failed to wait on bus: %s\n",
                     std::strerror(-w));
            break;
        }
    }
    qvm::log(kUser, kDebug, "Processing stopped\n");
    return QVM_RC_FAILED;
}
