// The qvm command line: commands and their options, exit codes and the
// reporting of failures. The parser itself lives in cli.cpp alone; the
// command files register through Command.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace CLI
{
class App;
}

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
// Takes an option's text; throws UsageError when it is wrong.
using Setter = std::function<void(const std::string&)>;

// A number in decimal or 0x hexadecimal, at most max; what names it in
// the UsageError thrown otherwise.
uint64_t parseNumber(const std::string& text, uint64_t max,
                     const std::string& what);

struct GlobalOptions;

// A command, or a group of commands ("qvm manager ..."), and its options.
// Every option has a help text. A command line builds only the commands it
// can choose (see runCommandLine); for the others every call here does
// nothing.
class Command
{
  public:
    Command& text(const std::string& name, std::string& into,
                  const std::string& help, const std::string& type = "S");
    // An option that may be given more than once, each text in turn.
    Command& texts(const std::string& name, std::vector<std::string>& into,
                   const std::string& help, const std::string& type);
    Command& flag(const std::string& name, bool& into, const std::string& help);
    Command& parsed(const std::string& name, Setter set,
                    const std::string& help, const std::string& type);
    template <typename T>
    Command& number(const std::string& name, T& into, const std::string& help)
    {
        return parsed(
            name,
            [&into, name](const std::string& text)
            {
                into = static_cast<T>(
                    parseNumber(text, std::numeric_limits<T>::max(), name));
            },
            help, "N");
    }
    // Positional arguments, named in capitals.
    Command& argument(const std::string& name, std::string& into,
                      const std::string& help, bool required);
    Command& arguments(const std::string& name, std::vector<std::string>& into,
                       const std::string& help);
    // The two options cannot be given together.
    Command& exclusive(const std::string& first, const std::string& second);

    // A group below this one, listed by its own --help.
    Command group(const std::string& name, const std::string& summary);
    // A command below this one. The first line of help is its summary in
    // the command list; run is called when the command line chooses it.
    Command command(const std::string& name, const std::string& help, Run run);

  private:
    friend int runCommandLine(int, char**, GlobalOptions&,
                              const std::function<void(Command&)>&,
                              const std::function<void()>&,
                              const std::function<int()>&);
    explicit Command(CLI::App* app) : app_(app) {}
    CLI::App* app_; // null: not built
};

// What the tool's own options chose.
struct GlobalOptions
{
    std::string bus;
    bool verbose = false;
    bool maskDebug = false;
    bool version = false;
    double timeout = 0; // seconds; 0: sd-bus's own
};
// Registers the command groups on the tool; may be called more than once.
using AddCommands = std::function<void(Command& tool)>;
// Parses the command line; runs setUp with the tool's options, then the
// command chosen. Returns the exit code; showVersion runs for --version
// alone.
int runCommandLine(int argc, char** argv, GlobalOptions& options,
                   const AddCommands& addCommands,
                   const std::function<void()>& setUp,
                   const std::function<int()>& showVersion);

// The command groups, each defined next to its code.
void addSmbiosCommands(Command& app);
void addManagerCommands(Command& app);
void addTicketCommands(Command& app);
void addEventCommands(Command& app);
void addInventoryCommands(Command& app);

// "Needed component not found (6)"
std::string statusText(int64_t status);

// Reports a failed library call on stderr with the status text; returns
// the exit code for it.
int fail(const std::string& what, int64_t status);
// Reports a failure whose cause is known: "qvm: what: cause".
int failWith(const std::string& what, const std::string& cause);
// Reports a failed system call whose errno was error.
int failSystem(const std::string& what, int error);
// "qvm: what: warning" on stderr.
void warn(const std::string& what, const std::string& warning);

// Prints a heap text handed out by the library, with a newline, and frees
// it.
void printAndFree(char* text);

} // namespace qvmcli
