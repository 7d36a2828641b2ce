// A process environment variable set for one scope, restored afterwards.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace qvmtest
{

class ScopedEnv
{
  public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The system bus address of a bus that is not there: the library's default
// bus cannot be had while it is set.
inline ScopedEnv withoutSystemBus()
{
    return ScopedEnv("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=/nonexistent/bus");
}

} // namespace qvmtest
