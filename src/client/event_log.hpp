// Records filed with the BMC's event-logging service.
#pragma once

#include <cstdint>
#include <functional>
#include <systemd/sd-bus.h>

namespace qvm
{

// Appends the record's own arguments to the message, after its header;
// sd-bus's result.
using EventArguments = std::function<int(sd_bus_message*)>;

// Files record msgid on the calling thread's default bus: the service's
// reply result (1 when it answered), QVM_RC_INVALID_REQUEST when msgid or
// types is null, or QVM_RC_FAILED. types is the arguments' signature; an
// empty one sends an empty string array and arguments is not called.
int32_t addEventLog(const char* msgid, const char* types,
                    const EventArguments& arguments);

} // namespace qvm
