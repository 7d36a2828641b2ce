// Internal interface of the inventory readers and lookups.
#pragma once

#include "common/handles.hpp"

#include <cstdint>
#include <json-c/json.h>
#include <systemd/sd-bus.h>
#include <utility>

namespace qvm
{

// One blocking method call with the bus's default time-out; the reply, or
// null when the call fails. Bus errors are not logged here.
template <typename... Args>
MessagePtr callMethod(sd_bus* bus, const char* service, const char* path,
                      const char* interface, const char* member,
                      const char* signature, Args... args)
{
    BusError error;
    sd_bus_message* reply = nullptr;
    const int r = sd_bus_call_method(bus, service, path, interface, member,
                                     error.get(), &reply, signature, args...);
    MessagePtr owned(reply);
    return r < 0 ? nullptr : std::move(owned);
}

using ReplyReader = int32_t (*)(sd_bus_message*, json_object**);

// The document that reader makes of reply; null when its result is
// negative (a partly converted document is released).
inline JsonPtr readReply(sd_bus_message* reply, ReplyReader reader)
{
    json_object* document = nullptr;
    const int32_t result = reader(reply, &document);
    JsonPtr owned(document);
    return result < 0 ? nullptr : std::move(owned);
}

// The property reader behind make_JSON_object_from_GetAllReply: converts an
// a{sv} reply into {name: value, ...}, storing the object in out before
// reading any value.
int32_t make_JSON_object_from_message(sd_bus_message* reply, json_object** out);

inline constexpr char kPropertiesInterface[] =
    "org.freedesktop.DBus.Properties";

} // namespace qvm
