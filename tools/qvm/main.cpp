// qvm: the library's functions in an operator's hands.
#include "cli.hpp"

#include <qvmclient.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

using qvmcli::Args;
using qvmcli::Command;

int libraryVersion(const Args&)
{
    char* text = nullptr;
    const int32_t rc = QVM_GetLibraryVersion(&text);
    if (rc != QVM_RC_SUCCESS)
        return qvmcli::fail("version", rc);
    std::printf("%s\n", text);
    std::free(text);
    return 0;
}

std::vector<Command> allCommands()
{
    std::vector<Command> all{
        {"", "version", "", "the library's version text", libraryVersion},
    };
    for (const auto& c : qvmcli::managerCommands())
        all.push_back(c);
    return all;
}

void usage(std::FILE* out, const std::vector<Command>& commands)
{
    std::fputs("Usage: qvm [--bus ADDRESS] COMMAND [ARGS]\n\n"
               "  --bus ADDRESS  use the D-Bus bus at ADDRESS as the system bus\n\n"
               "Commands:\n",
               out);
    for (const auto& c : commands)
    {
        const std::string name =
            std::string(c.group) + (*c.group ? " " : "") + c.name;
        std::fprintf(out, "  %-24s %s\n", name.c_str(), c.help);
    }
    std::fputs("\nqvm COMMAND --help shows a command's arguments.\n", out);
}

// Options are "--name value", or "--name" alone when no value follows.
Args parseArgs(int argc, char** argv, int first)
{
    Args args;
    for (int i = first; i < argc; ++i)
    {
        const std::string word = argv[i];
        if (word.rfind("--", 0) == 0 && word.size() > 2)
        {
            const bool hasValue =
                i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0;
            args.options[word.substr(2)] = hasValue ? argv[++i] : "";
        }
        else
        {
            args.positional.push_back(word);
        }
    }
    return args;
}

const Command* findCommand(const std::vector<Command>& commands, int argc,
                           char** argv, int& next)
{
    for (const auto& c : commands)
    {
        if (*c.group == '\0' && next < argc && argv[next] == std::string(c.name))
        {
            ++next;
            return &c;
        }
        if (*c.group != '\0' && next + 1 < argc &&
            argv[next] == std::string(c.group) &&
            argv[next + 1] == std::string(c.name))
        {
            next += 2;
            return &c;
        }
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Command> commands = allCommands();
    int next = 1;
    if (next + 1 < argc && std::strcmp(argv[next], "--bus") == 0)
    {
        // The library talks to the thread's default bus: aim it here.
        setenv("DBUS_STARTER_BUS_TYPE", "system", 1);
        setenv("DBUS_SYSTEM_BUS_ADDRESS", argv[next + 1], 1);
        next += 2;
    }
    if (next >= argc || std::strcmp(argv[next], "--help") == 0 ||
        std::strcmp(argv[next], "-h") == 0)
    {
        usage(next >= argc ? stderr : stdout, commands);
        return next >= argc ? 2 : 0;
    }
    const Command* command = findCommand(commands, argc, argv, next);
    if (command == nullptr)
    {
        std::fprintf(stderr, "qvm: unknown command '%s'\n\n", argv[next]);
        usage(stderr, commands);
        return 2;
    }
    const Args args = parseArgs(argc, argv, next);
    if (args.has("help") || args.has("h"))
    {
        std::printf("Usage: qvm %s%s%s %s\n%s\n", command->group,
                    *command->group ? " " : "", command->name, command->usage,
                    command->help);
        return 0;
    }
    try
    {
        return command->run(args);
    }
    catch (const qvmcli::UsageError& e)
    {
        std::fprintf(stderr, "qvm: %s\n", e.message.c_str());
        return 2;
    }
}
