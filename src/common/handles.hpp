// RAII handles for the C resources the library owns inside one call.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <json-c/json.h>
#include <memory>
#include <systemd/sd-bus.h>

namespace qvm
{

struct BusUnref
{
    void operator()(sd_bus* bus) const noexcept { sd_bus_unref(bus); }
};
struct MessageUnref
{
    void operator()(sd_bus_message* m) const noexcept
    {
        sd_bus_message_unref(m);
    }
};
struct SlotUnref
{
    void operator()(sd_bus_slot* s) const noexcept { sd_bus_slot_unref(s); }
};
struct JsonPut
{
    void operator()(json_object* o) const noexcept { json_object_put(o); }
};
struct FileClose
{
    void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
struct Free
{
    void operator()(void* p) const noexcept { std::free(p); }
};

// An sd-bus time-out without a limit (sd_bus_wait, sd_bus_call).
inline constexpr uint64_t kWaitForever = UINT64_MAX;

using BusPtr = std::unique_ptr<sd_bus, BusUnref>;
using MessagePtr = std::unique_ptr<sd_bus_message, MessageUnref>;
using SlotPtr = std::unique_ptr<sd_bus_slot, SlotUnref>;
using JsonPtr = std::unique_ptr<json_object, JsonPut>;
using FilePtr = std::unique_ptr<std::FILE, FileClose>;
template <typename T> using HeapPtr = std::unique_ptr<T, Free>;
using HeapString = HeapPtr<char>;

// json-c leaves a value with the caller when adding it fails; these release
// it then, so the value never leaks. Object members replace, in place, a
// member of the same name. False on failure.
inline bool addMember(json_object* object, const char* key,
                      json_object* value) noexcept
{
    if (json_object_object_add(object, key, value) == 0)
        return true;
    json_object_put(value);
    return false;
}

inline bool addElement(json_object* array, json_object* value) noexcept
{
    if (json_object_array_add(array, value) == 0)
        return true;
    json_object_put(value);
    return false;
}

// An sd_bus_error that is cleared on construction and freed on every path.
class BusError
{
  public:
    BusError() = default;
    BusError(const BusError&) = delete;
    BusError& operator=(const BusError&) = delete;
    ~BusError() { sd_bus_error_free(&error_); }

    sd_bus_error* get() noexcept { return &error_; }
    const char* message() const noexcept
    {
        return error_.message ? error_.message : "";
    }

  private:
    // All zero, as SD_BUS_ERROR_NULL; that macro is a C compound literal,
    // which clang refuses under -Wpedantic in C++.
    sd_bus_error error_{};
};

} // namespace qvm
