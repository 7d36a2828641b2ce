// The bus that the tool and the library talk to: the system bus, or the
// one that --bus names.
#pragma once

#include "handles.hpp"

#include <string>

namespace qvmcli
{

// Points the library's default bus (and the tool's) at address; empty: the
// system bus. timeout (seconds, 0 for sd-bus's own) bounds each method
// call on the bus that qvm holds, which the library's calls share. Called
// once, before anything connects.
void useBus(const std::string& address, double timeout);
// The address of that bus, for messages.
std::string busAddress();
// Whether --bus named the bus.
bool busChosen();

// The thread's default bus, which the library shares while it is held, or
// null with the reason in error (a negative errno).
Bus defaultBus(int& error);
// The same, or null after reporting under what that it cannot be had.
Bus connectBus(const std::string& what);

// Whether a service owns name on bus.
bool nameHasOwner(sd_bus* bus, const char* name);

// Why a call to service on bus fails, as far as a ping of it tells: "on
// the bus at ADDRESS, service S: error name: message"; empty when it
// answers.
std::string whyUnreachable(sd_bus* bus, const std::string& service);

// Reports a failed library call that went to service over the bus, with
// what the bus says about the service.
int failOnBus(const std::string& what, int64_t status,
              const std::string& service);

} // namespace qvmcli
