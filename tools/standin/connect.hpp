// A bus client connection to a bus given by its address.
#pragma once

#include "common/handles.hpp"

#include <string>

namespace standin
{

// Connects to address as a bus client (with Hello); null on failure.
qvm::BusPtr connectBus(const std::string& address);

} // namespace standin
