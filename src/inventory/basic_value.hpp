// One D-Bus basic value as JSON: the conversion every reader of bus
// messages shares.
#pragma once

#include "common/handles.hpp"

#include <systemd/sd-bus.h>

namespace qvm
{

// The basic types readBasicValue converts (every basic type but the unix
// fd).
bool isConvertedBasic(char type) noexcept;

// Reads the next item of m, a basic value of that type, into value:
// booleans, integers (an unsigned 64-bit value keeps its bits as a signed
// one, JSON integers being signed), doubles (NaN and the infinities have no
// JSON form and become null) and texts. False when sd-bus refuses the value
// or the heap cannot hold it; sd-bus then keeps its read position on it.
bool readBasicValue(sd_bus_message* m, char type, JsonPtr& value) noexcept;

} // namespace qvm
