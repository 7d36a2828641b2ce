#include "connect.hpp"

namespace standin
{

qvm::BusPtr connectBus(const std::string& address)
{
    sd_bus* raw = nullptr;
    if (sd_bus_new(&raw) < 0)
        return nullptr;
    qvm::BusPtr bus(raw);
    if (sd_bus_set_address(raw, address.c_str()) < 0 ||
        sd_bus_set_bus_client(raw, 1) < 0 || sd_bus_start(raw) < 0)
        return nullptr;
    return bus;
}

} // namespace standin
