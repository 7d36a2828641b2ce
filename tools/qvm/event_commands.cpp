// qvm event ...: records for the event-logging service.
#include "cli.hpp"

#include <array>
#include <cstdio>
#include <qvmclient.h>
#include <string>
#include <utility>

namespace qvmcli
{
namespace
{

// The message arguments travel as the variadic arguments of one "as": a
// count, then that many strings. The call for each count is made at
// compile time, up to kMaxArguments.
constexpr std::size_t kMaxArguments = 16;

using Strings = std::vector<std::string>;
using AddFunction = int32_t (*)(const char*, const Strings&);

template <std::size_t... I>
int32_t addWith(const char* msgid, const Strings& args,
                std::index_sequence<I...>)
{
    return QVM_AddEventLog(msgid, "as", static_cast<unsigned>(sizeof...(I)),
                           args[I].c_str()...);
}

template <std::size_t N>
int32_t addWithCount(const char* msgid, const Strings& args)
{
    return addWith(msgid, args, std::make_index_sequence<N>{});
}

template <std::size_t... N>
constexpr std::array<AddFunction, sizeof...(N)>
addFunctions(std::index_sequence<N...>)
{
    return {&addWithCount<N>...};
}

constexpr auto kAddFunctions =
    addFunctions(std::make_index_sequence<kMaxArguments + 1>{});

int add(const Args& args)
{
    const std::string msgid = args.at(0);
    const Strings messageArgs(args.positional.begin() + 1,
                              args.positional.end());
    if (messageArgs.size() > kMaxArguments)
        throw UsageError{"event add: at most " + std::to_string(kMaxArguments) +
                         " message arguments"};
    const int32_t rc =
        messageArgs.empty()
            ? QVM_AddEventLog(msgid.c_str(), "")
            : kAddFunctions[messageArgs.size()](msgid.c_str(), messageArgs);
    if (rc < 0 || rc == QVM_RC_INVALID_REQUEST)
        return fail("event add", rc);
    std::printf("result %d\n", rc);
    return kExitOk;
}

} // namespace

const std::vector<Command>& eventCommands()
{
    static const std::vector<Command> commands{
        {"event", "add", "MSGID [ARG...]",
         "file a record MSGID with its message arguments\n"
         "Prints the bus call's result (1 when the service answered).",
         add},
    };
    return commands;
}

} // namespace qvmcli
