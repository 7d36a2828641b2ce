// The bus that the tool and the library talk to: the system bus, or the
// one that --bus names.
#pragma once

#include "handles.hpp"

#include <string>

namespace qvmcli
{

// Points the library's default bus (and the tool's) at address; empty: the
// system bus. Called once, before anything connects.
void useBus(const std::string& address);
// The address of that bus, for messages.
std::string busAddress();

// The thread's default bus, which the library shares while it is held, or
// null with the reason in error (a negative errno).
Bus defaultBus(int& error);
// The same, or null after reporting under what that it cannot be had.
Bus connectBus(const std::string& what);

// Whether a service owns name on bus.
bool nameHasOwner(sd_bus* bus, const char* name);

} // namespace qvmcli
