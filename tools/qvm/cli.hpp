// The qvm command line: commands, their arguments and common reporting.
//
// A command's usage line is also its grammar: "--name WORD" is an option
// with a value, a lone "--name" a flag, a bare upper-case WORD a required
// argument, "[WORD]" an optional one and "WORD..." any number of them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace qvmcli
{

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // the library reported a failure
inline constexpr int kExitUsage = 2;  // the command line was wrong

struct UsageError
{
    std::string message;
};

// A number in decimal, 0x-hexadecimal or 0-octal, at most max; what names
// it in the error.
uint64_t parseNumber(const std::string& text, uint64_t max,
                     const std::string& what);

// A command's words after its name: options and positional arguments.
struct Args
{
    std::map<std::string, std::string> options;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return options.count(name) != 0; }
    std::string get(const std::string& name,
                    const std::string& fallback = {}) const;
    // A number option; throws UsageError when it is not one or too large.
    uint64_t number(const std::string& name, uint64_t fallback,
                    uint64_t max) const;
    // Positional argument index, or fallback when it was left out.
    std::string at(std::size_t index, const std::string& fallback = {}) const;
};

struct Command
{
    const char* group; // "manager", "smbios", ... or "" for top level
    const char* name;  // "" for a group's own command ("qvm inventory")
    const char* usage; // the arguments, as shown by --help
    const char* help;  // what it does, first line one sentence
    int (*run)(const Args&);

    std::string title() const; // "smbios export"
};

// Parses words by the command's usage line; throws UsageError.
Args parseArgs(const Command& command, const std::vector<std::string>& words);

// Every command of the tool, by group; defined next to each group's code.
const std::vector<Command>& managerCommands();
const std::vector<Command>& smbiosCommands();
const std::vector<Command>& ticketCommands();
const std::vector<Command>& eventCommands();
const std::vector<Command>& inventoryCommands();

// Reports a failed library call on standard error with the status text and
// returns the tool's exit code for it.
int fail(const std::string& what, int64_t status);
// Reports a failed system call (errno) on standard error; returns the exit
// code for it.
int failSystem(const std::string& what);

// Prints a heap text handed out by the library, with a newline, and frees
// it.
void printAndFree(char* text);

} // namespace qvmcli
