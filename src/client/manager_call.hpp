// The open-call-read-release sequence shared by every manager request.
#pragma once

#include "common/handles.hpp"
#include "common/log.hpp"
#include "qvmclient.h"

#include <cstring>

namespace qvm
{

inline constexpr char kManagerService[] =
    "xyz.openbmc_project.QuorvaneManager1";
inline constexpr char kManagerPath[] = "/xyz/openbmc_project/QuorvaneManager1";
inline constexpr char kManagerInterface[] =
    "xyz.openbmc_project.QuorvaneManager1.QV0";

// A reference to the calling thread's default bus; logs and returns null
// when none can be had.
BusPtr defaultBus();

// One blocking method call on the manager. The frame owns the bus
// reference, the error record and the reply; they are released when the
// frame goes out of scope, in the order error record, reply, bus.
class ManagerCallFrame
{
  public:
    ManagerCallFrame() = default;
    ManagerCallFrame(const ManagerCallFrame&) = delete;
    ManagerCallFrame& operator=(const ManagerCallFrame&) = delete;

    // Takes the bus and calls member. failureLine is the request's own
    // "Failed to issue method call" format, logged with the error text.
    template <typename... Args>
    bool call(const char* member, const char* failureLine,
              const char* signature, Args... args)
    {
        if (!connect())
            return false;
        if (invoke(member, signature, args...) < 0)
        {
            qvm::log(facility::kUser, priority::kErr, failureLine,
                     error_.message());
            return false;
        }
        return true;
    }

    // Takes the calling thread's default bus; logs when there is none.
    bool connect();

    // The method call alone, on a connected frame, for requests that word
    // their failure line themselves: the sd-bus result, with the error
    // record's text in errorMessage() when it is negative.
    template <typename... Args>
    int invoke(const char* member, const char* signature, Args... args)
    {
        sd_bus_message* reply = nullptr;
        const int r = sd_bus_call_method(
            bus_.get(), kManagerService, kManagerPath, kManagerInterface,
            member, error_.get(), &reply, signature, args...);
        reply_.reset(reply);
        return r;
    }

    const char* errorMessage() const noexcept { return error_.message(); }

    sd_bus_message* reply() const noexcept { return reply_.get(); }

  private:
    // Declared in reverse release order: members are destroyed bottom-up.
    BusPtr bus_;
    MessagePtr reply_;
    BusError error_;
};

// Logs the manager's wording for a status it names, else the status in hex.
void logManagerStatus(int64_t status);

// The manager's 64-bit status as the request's result: logged, then its
// low 32 bits.
int32_t managerStatus(int64_t status);

} // namespace qvm
