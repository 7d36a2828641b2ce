// A private dbus-daemon owned by the stand-in, for machines without a BMC.
#pragma once

#include <string>
#include <sys/types.h>

namespace standin
{

class PrivateBus
{
  public:
    PrivateBus() = default;
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;
    // Stops the daemon.
    ~PrivateBus();

    // Starts dbus-daemon with a policy that allows everything; returns false
    // (with a message on standard error) when it does not come up.
    bool start();
    const std::string& address() const noexcept { return address_; }

  private:
    pid_t pid_ = -1;
    std::string address_;
    std::string configPath_;
};

} // namespace standin
