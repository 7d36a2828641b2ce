// The qvm command line: commands on CLI11, exit codes and the reporting of
// failures.
#pragma once

#include <CLI/App.hpp>
#include <cstdint>
#include <functional>
#include <limits>
#include <string>

namespace qvmcli
{

// Exit codes of the tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1; // a failure, its cause on stderr
inline constexpr int kExitUsage = 2;  // the command line was wrong

// A usage fault that only the command itself can see.
struct UsageError
{
    std::string message;
};

using Run = std::function<int()>;

// A group of commands ("qvm manager ..."), listed by its own --help.
CLI::App* addGroup(CLI::App& parent, const std::string& name,
                   const std::string& summary);
// A command under parent. The first line of help is its summary in the
// command list; run is called when the command line chooses it.
CLI::App* addCommand(CLI::App& parent, const std::string& name,
                     const std::string& help, Run run);
// What runs for command; null for a group.
const Run* runOf(const CLI::App* command);
// "smbios export" for that command; "" for the tool itself.
std::string titleOf(const CLI::App* command);

// A number in decimal or 0x hexadecimal, at most max; what names it in
// the UsageError thrown otherwise.
uint64_t parseNumber(const std::string& text, uint64_t max,
                     const std::string& what);

// An option holding a number of value's type.
template <typename T>
CLI::Option* addNumber(CLI::App& command, const std::string& name, T& value,
                       const std::string& help = {})
{
    return command
        .add_option_function<std::string>(
            name,
            [&value, name](const std::string& text)
            {
                try
                {
                    value = static_cast<T>(
                        parseNumber(text, std::numeric_limits<T>::max(), name));
                }
                catch (const UsageError& e)
                {
                    throw CLI::ValidationError(e.message);
                }
            },
            help)
        ->type_name("N");
}

// The help of the tool, of a group and of a command, one line per command
// in every list.
std::shared_ptr<CLI::FormatterBase> helpFormatter();

// The command groups, each defined next to its code.
void addSmbiosCommands(CLI::App& app);
void addManagerCommands(CLI::App& app);
void addTicketCommands(CLI::App& app);
void addEventCommands(CLI::App& app);
void addInventoryCommands(CLI::App& app);

// "Needed component not found (6)"
std::string statusText(int64_t status);

// Reports a failed library call on stderr with the status text and the
// causes gathered while it ran; returns the exit code for it.
int fail(const std::string& what, int64_t status);
// Reports a failure whose cause is known: "qvm: what: cause".
int failWith(const std::string& what, const std::string& cause);
// Reports a failed system call (errno): "qvm: what: strerror".
int failSystem(const std::string& what);

// Prints a heap text handed out by the library, with a newline, and frees
// it.
void printAndFree(char* text);

} // namespace qvmcli
