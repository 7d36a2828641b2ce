// The platform services the stand-in serves.
#pragma once

#include "standin.hpp"

#include <json-c/json.h>

namespace standin
{

// The Quorvane manager (every member, default replies of status 0).
void addManager(Standin& standin);
// The event-logging service's AddEventLog.
void addEventLogging(Standin& standin);

// Sections of the fixture file handled by the services above (for example
// "scripts": {KEY: SCRIPT}); returns false on a malformed section.
bool loadFixture(Standin& standin, json_object* fixture);

} // namespace standin
