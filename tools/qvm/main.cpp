// qvm: the library's functions in an operator's hands.
#include "cli.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <qvmclient.h>
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
    qvmcli::printAndFree(text);
    return qvmcli::kExitOk;
}

std::vector<Command> allCommands()
{
    std::vector<Command> all{
        {"", "version", "", "the library's version text", libraryVersion},
    };
    for (const auto* group :
         {&qvmcli::smbiosCommands(), &qvmcli::managerCommands(),
          &qvmcli::ticketCommands(), &qvmcli::eventCommands(),
          &qvmcli::inventoryCommands()})
        all.insert(all.end(), group->begin(), group->end());
    return all;
}

std::string firstLine(const char* text)
{
    const std::string t = text;
    return t.substr(0, t.find('\n'));
}

// Lists the commands whose group is group (all of them for "").
void listCommands(std::FILE* out, const std::vector<Command>& commands,
                  const std::string& group)
{
    for (const auto& c : commands)
        if (group.empty() || group == c.group)
            std::fprintf(out, "  %-20s %s\n", c.title().c_str(),
                         firstLine(c.help).c_str());
}

void usage(std::FILE* out, const std::vector<Command>& commands)
{
    std::fputs("Usage: qvm [--bus ADDRESS] COMMAND [ARGS]\n\n"
               "  --bus ADDRESS  use the D-Bus bus at ADDRESS as the system "
               "bus\n\nCommands:\n",
               out);
    listCommands(out, commands, "");
    std::fputs("\nqvm COMMAND --help shows a command's arguments.\n"
               "Exit status: 0 success, 1 the library reported a failure, "
               "2 wrong usage.\n",
               out);
}

void commandHelp(const Command& c)
{
    std::printf("Usage: qvm %s%s%s\n\n%s\n", c.title().c_str(),
                *c.usage ? " " : "", c.usage, c.help);
}

bool isHelp(const std::string& word)
{
    return word == "--help" || word == "-h";
}

// The command named by words[next] (and words[next + 1]); the two-word
// name wins over the one-word one ("inventory get" over "inventory").
const Command* findCommand(const std::vector<Command>& commands,
                           const std::vector<std::string>& words,
                           std::size_t& next)
{
    const Command* best = nullptr;
    std::size_t used = 0;
    for (const auto& c : commands)
    {
        const std::string first = *c.group ? c.group : c.name;
        const std::size_t length = *c.group && *c.name ? 2 : 1;
        if (next + length > words.size() || words[next] != first ||
            (length == 2 && words[next + 1] != c.name) || length <= used)
            continue;
        best = &c;
        used = length;
    }
    next += used;
    return best;
}

bool isGroup(const std::vector<Command>& commands, const std::string& word)
{
    return std::any_of(commands.begin(), commands.end(),
                       [&](const Command& c) { return word == c.group; });
}

// A group named without one of its commands, or a word that is no command.
int unknownCommand(const std::vector<Command>& commands,
                   const std::vector<std::string>& words, std::size_t next)
{
    const std::string& word = words[next];
    if (!isGroup(commands, word))
    {
        std::fprintf(stderr, "qvm: unknown command '%s'\n\n", word.c_str());
        usage(stderr, commands);
        return qvmcli::kExitUsage;
    }
    const bool help = next + 1 < words.size() && isHelp(words[next + 1]);
    std::FILE* out = help ? stdout : stderr;
    if (!help && next + 1 < words.size())
        std::fprintf(stderr, "qvm: unknown command '%s %s'\n\n", word.c_str(),
                     words[next + 1].c_str());
    std::fprintf(out, "Commands of qvm %s:\n", word.c_str());
    listCommands(out, commands, word);
    return help ? qvmcli::kExitOk : qvmcli::kExitUsage;
}

int run(const Command& command, const std::vector<std::string>& words)
{
    if (std::any_of(words.begin(), std::find(words.begin(), words.end(), "--"),
                    isHelp))
    {
        commandHelp(command);
        return qvmcli::kExitOk;
    }
    try
    {
        return command.run(qvmcli::parseArgs(command, words));
    }
    catch (const qvmcli::UsageError& e)
    {
        std::fprintf(stderr, "qvm: %s\n", e.message.c_str());
        return qvmcli::kExitUsage;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<Command> commands = allCommands();
    const std::vector<std::string> words(argv + 1, argv + argc);
    std::size_t next = 0;
    if (words.size() >= 2 && words[0] == "--bus")
    {
        // The library talks to the thread's default bus: aim it here.
        setenv("DBUS_STARTER_BUS_TYPE", "system", 1);
        setenv("DBUS_SYSTEM_BUS_ADDRESS", words[1].c_str(), 1);
        next = 2;
    }
    if (next >= words.size() || isHelp(words[next]))
    {
        const bool asked = next < words.size();
        usage(asked ? stdout : stderr, commands);
        return asked ? qvmcli::kExitOk : qvmcli::kExitUsage;
    }
    const std::size_t start = next;
    const Command* command = findCommand(commands, words, next);
    if (command == nullptr)
        return unknownCommand(commands, words, start);
    return run(*command,
               std::vector<std::string>(words.begin() + static_cast<long>(next),
                                        words.end()));
}
