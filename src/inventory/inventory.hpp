// Internal interface of the inventory readers and lookups.
#pragma once

#include "common/handles.hpp"

#include <cstdint>
#include <json-c/json.h>
#include <systemd/sd-bus.h>
#include <utility>

namespace qvm
{

// The outcome of one blocking method call: the reply, or null with the
// call's negative errno (-ETIMEDOUT when no answer came in time).
struct CallOutcome
{
    MessagePtr reply;
    int error = 0;
};

// One blocking method call that waits at most timeout microseconds (0: the
// bus's default time-out). Bus errors are not logged here.
template <typename... Args>
CallOutcome callMethodWithin(uint64_t timeout, sd_bus* bus, const char* service,
                             const char* path, const char* interface,
                             const char* member, const char* signature,
                             Args... args)
{
    sd_bus_message* raw = nullptr;
    int r = sd_bus_message_new_method_call(bus, &raw, service, path, interface,
                                           member);
    const MessagePtr call(raw);
    if (r >= 0)
        r = sd_bus_message_append(raw, signature, args...);
    CallOutcome outcome;
    if (r >= 0)
    {
        BusError error;
        sd_bus_message* reply = nullptr;
        r = sd_bus_call(bus, raw, timeout, error.get(), &reply);
        outcome.reply.reset(reply);
    }
    if (r < 0)
    {
        outcome.reply.reset();
        outcome.error = r;
    }
    return outcome;
}

// One blocking method call with the bus's default time-out; the reply, or
// null when the call fails.
template <typename... Args>
MessagePtr callMethod(sd_bus* bus, const char* service, const char* path,
                      const char* interface, const char* member,
                      const char* signature, Args... args)
{
    return callMethodWithin(0, bus, service, path, interface, member, signature,
                            args...)
        .reply;
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

// get_properties_from_node with the GetAll call's time-out (0: the bus's
// default); when the call itself fails, callError receives its negative
// errno.
int32_t readNodeProperties(sd_bus* bus, const char* service, const char* path,
                           const char* interface, json_object** out,
                           uint64_t timeout, int& callError);

inline constexpr char kPropertiesInterface[] =
    "org.freedesktop.DBus.Properties";

} // namespace qvm
