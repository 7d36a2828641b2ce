// Internal interface of the inventory readers and lookups.
#pragma once

#include "common/handles.hpp"

#include <cstdint>
#include <json-c/json.h>
#include <string>
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
    // "name: message" of the error record a failed call left, if any.
    std::string busError;
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
        if (r < 0 && sd_bus_error_is_set(error.get()))
            outcome.busError =
                std::string(error.get()->name) + ": " + error.message();
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

// Converts an a{sv} GetAll reply into {name: value, ...}, storing the
// object in out before reading any value.
int32_t readPropertiesReply(sd_bus_message* reply, json_object** out);

// Converts the object mapper's a{sa{sas}} GetSubTree reply into
// {"Returned Objects": [{path: [{service: [interface, ...]}, ...]}, ...]}.
int32_t readSubtreeReply(sd_bus_message* reply, json_object** out);

// The object path a service name implies: "/" and the name with its dots
// as slashes, on the heap.
int32_t objectPathOf(const char* name, char** out);

// GetAll of one interface as {interface: {...}}, waiting at most timeout
// microseconds (0: the bus's default); when the call itself fails,
// callError receives its negative errno. Path and interface default to
// what the service name implies.
int32_t readNodeProperties(sd_bus* bus, const char* service, const char* path,
                           const char* interface, json_object** out,
                           uint64_t timeout, int& callError);

// How long each GetAll of the walk waits: the bus's own method-call
// time-out, but at most 5 seconds, so that a hung service cannot hold the
// walk for the bus's default 25.
uint64_t getAllTimeout(sd_bus* bus) noexcept;

// The object mapper's whole tree, as readSubtreeReply gives it.
int32_t readObjectLists(sd_bus* bus, json_object** out);

// Every object, service and interface of the tree with its properties, as
// [service, path, {interface: {...}}] triples.
int32_t readSystemObjects(sd_bus* bus, json_object** out);

// One of the inventory daemon's file-path properties, on the heap.
int32_t readInvdProperty(sd_bus* bus, const char* name, char** out);

inline constexpr char kPropertiesInterface[] =
    "org.freedesktop.DBus.Properties";

} // namespace qvm
