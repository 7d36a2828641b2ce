// A private bus with qvm-standin for the whole test program.
//
// A test file that talks D-Bus registers the environment once at namespace
// scope:
//     const auto* bus = qvmtest::useStandinBus();
// The environment starts `qvm-standin --private` (which owns its own
// dbus-daemon), points the library's default bus at it through
// DBUS_STARTER_BUS_TYPE=system and DBUS_SYSTEM_BUS_ADDRESS, and stops it by
// pid at the end.
#pragma once

#include "standin_process.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace qvmtest
{

class StandinBus : public testing::Environment
{
  public:
    explicit StandinBus(std::string fixture) : fixture_(std::move(fixture)) {}
    void SetUp() override;
    void TearDown() override;
    const std::string& address() const { return process_.address(); }

  private:
    std::string fixture_;
    StandinProcess process_;
};

// The qvm-standin executable of this build.
const char* standinProgram();

// Registers the environment (once per program); fixture is an optional JSON
// fixture file for the stand-in.
StandinBus* useStandinBus(const std::string& fixture = {});

// The stand-in's control interface, over a connection of its own.
namespace standin
{
// Sets the reply script for KEY ("MEMBER" or "PATH:MEMBER").
void script(const std::string& key, const std::string& json);
// The JSON texts of the arguments of every call received for KEY.
std::vector<std::string> calls(const std::string& key);
// Forgets every script and every recorded call.
void reset();
// Emits PropertiesChanged on path for interface with typed values
// ({"Name": {"type": "s", "value": "x"}}).
void emit(const std::string& path, const std::string& interface,
          const std::string& changedJson);
} // namespace standin

// A test that starts from a stand-in without scripts or recorded calls.
class StandinTest : public testing::Test
{
  protected:
    void SetUp() override { standin::reset(); }
};

} // namespace qvmtest
