// qvm manager watch: follows the manager's property changes.
#pragma once

#include "cli.hpp"

namespace qvmcli
{

// Prints each PropertiesChanged signal of the manager's object as one JSON
// line until interrupted; returns only when the bus fails.
int watchManager();

} // namespace qvmcli
