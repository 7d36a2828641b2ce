// qvm-standin as a child process on its own private bus, without gtest, for
// test and benchmark programs alike.
#pragma once

#include "common/handles.hpp"

#include <string>
#include <sys/types.h>
#include <vector>

namespace qvmtest
{

class StandinProcess
{
  public:
    StandinProcess() = default;
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;
    ~StandinProcess() { stop(); }

    // Starts program (the qvm-standin executable) with --private, --fixture
    // when given, and extra; returns false when it does not report its
    // address.
    bool start(const std::string& program, const std::string& fixture = {},
               const std::vector<std::string>& extra = {});
    // Stops it by pid and waits for it.
    void stop();

    const std::string& address() const noexcept { return address_; }
    // A bus client connection to its bus (null when it fails).
    qvm::BusPtr connect() const;

  private:
    pid_t pid_ = -1;
    std::string address_;
};

} // namespace qvmtest
