// Following the manager's state on a bus the caller owns.
#pragma once

#include <systemd/sd-bus.h>

namespace qvm
{

// Adds a match for the manager's PropertiesChanged signals that runs
// handler; name only labels the log lines. False, logged, when sd-bus
// refuses the match.
bool subscribeManagerSignals(sd_bus* bus, const char* name,
                             sd_bus_message_handler_t handler);

// Dispatches bus's messages until processing or waiting fails; it returns
// only then.
void followBus(sd_bus* bus);

} // namespace qvm
