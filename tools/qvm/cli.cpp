#include "cli.hpp"

#include "client/status.hpp"
#include "diagnostics.hpp"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <qvmclient.h>
#include <set>
#include <sstream>

namespace qvmcli
{
namespace
{

std::map<const CLI::App*, Run>& runs()
{
    static std::map<const CLI::App*, Run> registered;
    return registered;
}

// What runs for command; null for a group.
const Run* runOf(const CLI::App* command)
{
    const auto it = runs().find(command);
    return it == runs().end() ? nullptr : &it->second;
}

// "smbios export" for that command; "" for the tool itself.
std::string titleOf(const CLI::App* command)
{
    std::string title;
    for (const CLI::App* c = command; c->get_parent() != nullptr;
         c = c->get_parent())
        title = c->get_name() + (title.empty() ? "" : " " + title);
    return title;
}

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

// Every command below app, in the order they were added, with a group's
// own command (if it has one) before those of the group.
void collectCommands(const CLI::App* app, std::vector<const CLI::App*>& out)
{
    for (const CLI::App* sub : app->get_subcommands({}))
    {
        if (runOf(sub) != nullptr)
            out.push_back(sub);
        collectCommands(sub, out);
    }
}

std::string commandList(const CLI::App* app)
{
    std::vector<const CLI::App*> commands;
    collectCommands(app, commands);
    std::string out;
    char line[256];
    for (const CLI::App* c : commands)
    {
        std::snprintf(line, sizeof line, "  %-20s %s\n", titleOf(c).c_str(),
                      firstLine(c->get_description()).c_str());
        out += line;
    }
    return out;
}

// A command's arguments as its usage line shows them: positionals first,
// then the options, each optional one in brackets.
std::string usageOf(const CLI::App* command)
{
    std::string positionals, options;
    for (const CLI::Option* o :
         command->get_options([](const CLI::Option*) { return true; }))
    {
        if (o == command->get_help_ptr())
            continue;
        std::string word;
        if (o->get_positional())
        {
            word = o->get_name();
            if (o->get_items_expected_max() > 1)
                word += "...";
            positionals += o->get_required() ? " " + word : " [" + word + "]";
            continue;
        }
        word = "--" + o->get_lnames().front();
        if (!o->get_type_name().empty())
            word += " " + o->get_type_name();
        options += o->get_required() ? " " + word : " [" + word + "]";
    }
    return positionals + options;
}

class Help : public CLI::Formatter
{
  public:
    std::string make_help(const CLI::App* app, std::string,
                          CLI::AppFormatMode mode) const override
    {
        if (app->get_parent() == nullptr)
            return toolHelp(app);
        std::string out;
        if (runOf(app) != nullptr)
            out += "Usage: qvm " + titleOf(app) + usageOf(app) + "\n\n" +
                   app->get_description() + "\n" + make_positionals(app) +
                   make_groups(app, mode);
        if (!app->get_subcommands({}).empty())
            out += (out.empty() ? "" : "\n") + std::string("Commands of qvm ") +
                   titleOf(app) + ":\n" + commandList(app);
        return out;
    }

    // A positional argument is named by itself, without a type.
    std::string make_option_opts(const CLI::Option* o) const override
    {
        return o->get_positional() ? std::string()
                                   : CLI::Formatter::make_option_opts(o);
    }

  private:
    static std::string toolHelp(const CLI::App* app)
    {
        return "Usage: qvm [--bus ADDRESS] [--timeout SECONDS] [--verbose] "
               "[--mask-debug] COMMAND [ARGS]\n\n"
               "  --bus ADDRESS      use the D-Bus bus at ADDRESS as the "
               "system bus\n"
               "  --timeout SECONDS  give up a bus call after SECONDS\n"
               "  --verbose          show the library's log lines on "
               "standard error\n"
               "  --mask-debug       mask the library's debug lines, as a "
               "daemon does\n"
               "  --version          the versions of qvm and of the "
               "library\n"
               "\nCommands:\n" +
               commandList(app) +
               "\nqvm COMMAND --help shows a command's arguments.\n"
               "Exit status: 0 success; 1 failure, its cause on standard "
               "error; 2 wrong usage.\n";
    }
};

// The command that the command line chose: the deepest one parsed.
const CLI::App* chosen(const CLI::App& app)
{
    const CLI::App* at = &app;
    for (auto subs = at->get_subcommands(); !subs.empty();
         subs = at->get_subcommands())
        at = subs.front();
    return at;
}

int usageError(const CLI::App* where, const std::string& message)
{
    const std::string title = titleOf(where);
    std::fprintf(stderr, "qvm: %s%s%s\n", title.c_str(),
                 title.empty() ? "" : ": ", message.c_str());
    std::fprintf(stderr, "Run 'qvm%s%s --help' for its arguments.\n",
                 title.empty() ? "" : " ", title.c_str());
    return kExitUsage;
}

// A UsageError from a setter is a validation error to the parser.
Setter validating(Setter set)
{
    return [set = std::move(set)](const std::string& text)
    {
        try
        {
            set(text);
        }
        catch (const UsageError& e)
        {
            throw CLI::ValidationError(e.message);
        }
    };
}

// A time-out: above 0, at most a day, fractions allowed.
double parseSeconds(const std::string& text)
{
    constexpr double kMaxSeconds = 86400;
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(seconds > 0) || seconds > kMaxSeconds)
        throw UsageError{"--timeout takes seconds above 0 and up to 86400, "
                         "not '" +
                         text + "'"};
    return seconds;
}

// Made with its formatter, which the commands added later inherit.
std::unique_ptr<CLI::App> newRoot()
{
    auto app = std::make_unique<CLI::App>(
        "the library's functions from the command line", "qvm");
    app->formatter(std::make_shared<Help>());
    app->fallthrough();
    return app;
}

// The words of the command line, while only the commands that it names are
// built; null while every command is. The parser chooses a command only by
// its exact name, so a command whose name is not among the words cannot be
// chosen, and one that is among them is built with all its options.
const std::set<std::string, std::less<>>* named = nullptr;

bool built(const CLI::App* parent, const std::string& name)
{
    return parent != nullptr && (named == nullptr || named->contains(name));
}

} // namespace

Command& Command::text(const std::string& name, std::string& into,
                       const std::string& help, const std::string& type)
{
    if (app_ == nullptr)
        return *this;
    app_->add_option(name, into, help)->type_name(type);
    return *this;
}

Command& Command::texts(const std::string& name, std::vector<std::string>& into,
                        const std::string& help, const std::string& type)
{
    if (app_ == nullptr)
        return *this;
    app_->add_option(name, into, help)
        ->type_name(type)
        ->allow_extra_args(false);
    return *this;
}

Command& Command::flag(const std::string& name, bool& into,
                       const std::string& help)
{
    if (app_ == nullptr)
        return *this;
    app_->add_flag(name, into, help);
    return *this;
}

Command& Command::parsed(const std::string& name, Setter set,
                         const std::string& help, const std::string& type)
{
    if (app_ == nullptr)
        return *this;
    app_->add_option_function<std::string>(name, validating(std::move(set)),
                                           help)
        ->type_name(type);
    return *this;
}

Command& Command::argument(const std::string& name, std::string& into,
                           const std::string& help, bool required)
{
    if (app_ == nullptr)
        return *this;
    app_->add_option(name, into, help)->required(required);
    return *this;
}

Command& Command::arguments(const std::string& name,
                            std::vector<std::string>& into,
                            const std::string& help)
{
    if (app_ == nullptr)
        return *this;
    app_->add_option(name, into, help);
    return *this;
}

Command& Command::exclusive(const std::string& first, const std::string& second)
{
    if (app_ == nullptr)
        return *this;
    app_->get_option(first)->excludes(app_->get_option(second));
    return *this;
}

Command Command::group(const std::string& name, const std::string& summary)
{
    return Command(built(app_, name) ? app_->add_subcommand(name, summary)
                                     : nullptr);
}

Command Command::command(const std::string& name, const std::string& help,
                         Run run)
{
    if (!built(app_, name))
        return Command(nullptr);
    CLI::App* command = app_->add_subcommand(name, help);
    runs()[command] = std::move(run);
    return Command(command);
}

namespace
{

void addToolOptions(CLI::App& app, GlobalOptions& options)
{
    app.add_option("--bus", options.bus,
                   "the D-Bus bus to use as the system bus")
        ->type_name("ADDRESS");
    app.add_option_function<std::string>(
           "--timeout",
           validating([&options](const std::string& text)
                      { options.timeout = parseSeconds(text); }),
           "the longest wait for each bus call")
        ->type_name("SECONDS");
    app.add_flag("--verbose", options.verbose, "show the library's log lines");
    app.add_flag("--mask-debug", options.maskDebug,
                 "mask the library's debug lines, as a daemon does");
    app.add_flag("--version", options.version,
                 "the versions of qvm and the library");
}

// What parsing with the commands built so far came to.
enum class Outcome
{
    Chosen,  // a command to run, or --version
    Help,    // --help somewhere
    Refused, // a usage error
    Group,   // a group (or the tool) without one of its commands
};

Outcome parse(CLI::App& app, int argc, char** argv,
              const GlobalOptions& options, std::string& error)
{
    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp&)
    {
        return Outcome::Help;
    }
    catch (const CLI::ParseError& e)
    {
        error = e.what();
        return Outcome::Refused;
    }
    const CLI::App* command = chosen(app);
    const bool version = command == &app && options.version;
    return runOf(command) != nullptr || version ? Outcome::Chosen
                                                : Outcome::Group;
}

} // namespace

// Building every command with its options is most of qvm's own start-up
// (CLI11 makes a good many strings per option); a command line that runs a
// command needs only the commands it names. Help texts and usage errors,
// which show other commands, come from the whole tree, built anew.
int runCommandLine(int argc, char** argv, GlobalOptions& options,
                   const AddCommands& addCommands,
                   const std::function<void()>& setUp,
                   const std::function<int()>& showVersion)
{
    const std::set<std::string, std::less<>> words(argv + 1, argv + argc);
    std::unique_ptr<CLI::App> app;
    std::string error;
    Outcome outcome = Outcome::Refused;
    for (const bool whole : {false, true})
    {
        named = whole ? nullptr : &words;
        runs().clear();
        options = GlobalOptions{};
        app = newRoot();
        Command tool(app.get());
        addCommands(tool);
        addToolOptions(*app, options);
        outcome = parse(*app, argc, argv, options, error);
        if (outcome == Outcome::Chosen)
            break;
    }
    named = nullptr;
    const CLI::App* command = chosen(*app);
    switch (outcome)
    {
        case Outcome::Help:
            std::fputs(app->help().c_str(), stdout);
            return kExitOk;
        case Outcome::Refused:
            return usageError(command, error);
        case Outcome::Group:
        case Outcome::Chosen:
            break;
    }
    const Run* run = runOf(command);
    if (options.version && command == app.get())
        return showVersion();
    if (run == nullptr)
    {
        std::fputs(command->help().c_str(), stderr);
        return kExitUsage;
    }
    setUp();
    try
    {
        return (*run)();
    }
    catch (const UsageError& e)
    {
        return usageError(command, e.message);
    }
}

uint64_t parseNumber(const std::string& text, uint64_t max,
                     const std::string& what)
{
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 ||
        value > max)
        throw UsageError{what + " takes a number up to " + std::to_string(max) +
                         ", not '" + text + "'"};
    return value;
}

std::string statusText(int64_t status)
{
    return std::string(qvm::statusText(static_cast<int32_t>(status))) + " (" +
           std::to_string(status) + ")";
}

int fail(const std::string& what, int64_t status)
{
    failWith(what, statusText(status));
    printCauses();
    return kExitFailed;
}

void warn(const std::string& what, const std::string& warning)
{
    std::fprintf(stderr, "qvm: %s: %s\n", what.c_str(), warning.c_str());
}

int failWith(const std::string& what, const std::string& cause)
{
    std::fprintf(stderr, "qvm: %s: %s\n", what.c_str(), cause.c_str());
    return kExitFailed;
}

int failSystem(const std::string& what, int error)
{
    return failWith(what, std::strerror(error));
}

void printAndFree(char* text)
{
    std::printf("%s\n", text != nullptr ? text : "");
    std::free(text);
}

} // namespace qvmcli
