#include "cli.hpp"

#include <qvmclient.h>

#include <cstdio>
#include <cstdlib>

namespace qvmcli
{

std::string Args::get(const std::string& name, const std::string& fallback) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

uint64_t Args::number(const std::string& name, uint64_t fallback,
                      uint64_t max) const
{
    const auto it = options.find(name);
    if (it == options.end())
        return fallback;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(it->second.c_str(), &end, 0);
    if (it->second.empty() || *end != '\0' || value > max)
        throw UsageError{"--" + name + " takes a number up to " +
                         std::to_string(max)};
    return value;
}

int fail(const std::string& what, int32_t status)
{
    char* text = nullptr;
    QVM_StrErr(status, &text);
    std::fprintf(stderr, "qvm: %s: %s (%d)\n", what.c_str(),
                 text ? text : "Out of resources", status);
    std::free(text);
    return 1;
}

} // namespace qvmcli
