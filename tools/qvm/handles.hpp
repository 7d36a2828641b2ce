// Owners of what the library and its dependencies hand to the tool.
#pragma once

#include <cstdlib>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{

struct BusUnref
{
    void operator()(sd_bus* bus) const noexcept { sd_bus_unref(bus); }
};
using Bus = std::unique_ptr<sd_bus, BusUnref>;

struct MessageUnref
{
    void operator()(sd_bus_message* m) const noexcept
    {
        sd_bus_message_unref(m);
    }
};
using Message = std::unique_ptr<sd_bus_message, MessageUnref>;

struct JsonPut
{
    void operator()(json_object* doc) const noexcept { json_object_put(doc); }
};
using Json = std::unique_ptr<json_object, JsonPut>;

struct Free
{
    void operator()(void* p) const noexcept { std::free(p); }
};
using HeapText = std::unique_ptr<char, Free>;

} // namespace qvmcli
