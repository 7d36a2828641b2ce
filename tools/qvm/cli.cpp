#include "cli.hpp"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <qvmclient.h>
#include <sstream>

namespace qvmcli
{
namespace
{

// What a usage line accepts.
struct Grammar
{
    std::map<std::string, bool> options; // name -> takes a value
    std::size_t required = 0;
    std::size_t optional = 0;
    bool unbounded = false;
};

bool isPlaceholder(const std::string& word)
{
    return !word.empty() && std::isupper(static_cast<unsigned char>(word[0]));
}

Grammar grammarOf(const char* usage)
{
    std::istringstream in(usage);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    Grammar g;
    for (std::size_t i = 0; i < words.size(); ++i)
    {
        std::string word = words[i];
        const bool bracketed = word.front() == '[';
        while (!word.empty() && (word.front() == '[' || word.back() == ']'))
            word.erase(word.front() == '[' ? 0 : word.size() - 1, 1);
        if (word.rfind("--", 0) == 0)
        {
            const bool valued = i + 1 < words.size() &&
                                isPlaceholder(words[i + 1]) &&
                                words[i + 1].find("...") == std::string::npos;
            g.options[word.substr(2)] = valued;
            i += valued ? 1 : 0;
        }
        else if (word.find("...") != std::string::npos)
            g.unbounded = true;
        else if (bracketed)
            ++g.optional;
        else
            ++g.required;
    }
    return g;
}

void checkCount(const Command& command, const Grammar& g, std::size_t count)
{
    if (count >= g.required &&
        (g.unbounded || count <= g.required + g.optional))
        return;
    throw UsageError{command.title() + ": wrong arguments; usage: qvm " +
                     command.title() + " " + command.usage};
}

} // namespace

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

std::string Args::get(const std::string& name,
                      const std::string& fallback) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback : it->second;
}

uint64_t Args::number(const std::string& name, uint64_t fallback,
                      uint64_t max) const
{
    const auto it = options.find(name);
    return it == options.end() ? fallback
                               : parseNumber(it->second, max, "--" + name);
}

std::string Args::at(std::size_t index, const std::string& fallback) const
{
    return index < positional.size() ? positional[index] : fallback;
}

std::string Command::title() const
{
    std::string t = group;
    if (*group != '\0' && *name != '\0')
        t += ' ';
    return t + name;
}

Args parseArgs(const Command& command, const std::vector<std::string>& words)
{
    const Grammar g = grammarOf(command.usage);
    Args args;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i)
    {
        const std::string& word = words[i];
        if (optionsEnded || word.rfind("--", 0) != 0 || word == "-")
        {
            args.positional.push_back(word);
            continue;
        }
        if (word == "--")
        {
            optionsEnded = true;
            continue;
        }
        // --name VALUE or --name=VALUE
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(2, equals - 2);
        const auto option = g.options.find(name);
        if (option == g.options.end())
            throw UsageError{command.title() + ": unknown option --" + name};
        if (!option->second)
            args.options[name] = "";
        else if (equals != std::string::npos)
            args.options[name] = word.substr(equals + 1);
        else if (i + 1 < words.size())
            args.options[name] = words[++i];
        else
            throw UsageError{command.title() + ": --" + name +
                             " needs a value"};
    }
    checkCount(command, g, args.positional.size());
    return args;
}

int fail(const std::string& what, int64_t status)
{
    char* text = nullptr;
    QVM_StrErr(static_cast<int32_t>(status), &text);
    std::fprintf(stderr, "qvm: %s: %s (%lld)\n", what.c_str(),
                 text ? text : "Out of resources",
                 static_cast<long long>(status));
    std::free(text);
    return kExitFailed;
}

int failSystem(const std::string& what)
{
    std::fprintf(stderr, "qvm: %s: %s\n", what.c_str(), std::strerror(errno));
    return kExitFailed;
}

void printAndFree(char* text)
{
    std::printf("%s\n", text != nullptr ? text : "");
    std::free(text);
}

} // namespace qvmcli
