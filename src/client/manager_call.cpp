#include "client/manager_call.hpp"

namespace qvm
{

BusPtr defaultBus()
{
    sd_bus* bus = nullptr;
    const int r = sd_bus_default(&bus);
    if (r < 0)
    {
        qvm::log(facility::kUser, priority::kErr,
                 "Failed to connect to system bus: %s\n", std::strerror(-r));
        return nullptr;
    }
    return BusPtr(bus);
}

bool ManagerCallFrame::connect()
{
    bus_ = defaultBus();
    return bus_ != nullptr;
}

int32_t managerStatus(int64_t status)
{
    logManagerStatus(status);
    return static_cast<int32_t>(static_cast<uint32_t>(status));
}

} // namespace qvm
