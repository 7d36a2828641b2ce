// The qvm command line: commands, their arguments and common reporting.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qvmcli
{

// A command's words after its name: options (--name value or --flag) and
// positional arguments, in order.
struct Args
{
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string get(const std::string& name,
                    const std::string& fallback = {}) const;
    // A number option; throws UsageError when it is not one or out of range.
    uint64_t number(const std::string& name, uint64_t fallback,
                    uint64_t max) const;
};

struct UsageError
{
    std::string message;
};

struct Command
{
    const char* group; // "manager", "smbios", ... or "" for top level
    const char* name;
    const char* usage; // arguments, for --help
    const char* help;  // one line
    int (*run)(const Args&);
};

// Every command of the tool, grouped; defined next to each group's code.
const std::vector<Command>& managerCommands();

// Reports a failed library call on standard error with the status text and
// returns the tool's exit code for it.
int fail(const std::string& what, int32_t status);

} // namespace qvmcli
