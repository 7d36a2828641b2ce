// Shared pieces of the client tests: every test program here talks to the
// stand-in on a private bus and checks syslog lines.
#pragma once

#include "qvmclient.h"
#include "support/log_capture.hpp"
#include "support/scoped_env.hpp"
#include "support/standin_bus.hpp"

#include <cerrno>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;
using testing::IsEmpty;
namespace standin = qvmtest::standin;

namespace clienttest
{

// The stand-in on a private bus, started once for the test program.
inline const auto* const bus = qvmtest::useStandinBus();

// The text of a line that ends in strerror(error).
inline std::string errnoText(const std::string& prefix, int error)
{
    return prefix + std::strerror(error) + "\n";
}

// A value no call hands out: out-parameters start with it so that a test
// sees whether they were written.
inline char* const kUnwritten = reinterpret_cast<char*>(0x1);

} // namespace clienttest

using clienttest::errnoText;
using clienttest::kUnwritten;
