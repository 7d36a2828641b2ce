// qvm event ...: records for the event-logging service.
#include "bus.hpp"
#include "cli.hpp"

#include <array>
#include <cstdio>
#include <memory>
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
constexpr char kEventService[] = "xyz.openbmc_project.EventLogging";

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

int add(const std::string& msgid, const Strings& messageArgs)
{
    const int32_t rc =
        messageArgs.empty()
            ? QVM_AddEventLog(msgid.c_str(), "")
            : kAddFunctions[messageArgs.size()](msgid.c_str(), messageArgs);
    if (rc < 0)
        return failOnBus("event add", rc, kEventService);
    if (rc == QVM_RC_INVALID_REQUEST)
        return fail("event add", rc);
    std::printf("result %d\n", rc);
    return kExitOk;
}

struct AddOptions
{
    std::string msgid;
    Strings args;
};

} // namespace

void addEventCommands(Command& app)
{
    Command group = app.group("event", "event-log records");
    auto o = std::make_shared<AddOptions>();
    Command c = group.command(
        "add",
        "file a record MSGID with its message arguments\n"
        "Prints the bus call's result (1 when the service answered).",
        [o]
        {
            if (o->msgid.empty())
                throw UsageError{"MSGID is empty"};
            if (o->args.size() > kMaxArguments)
                throw UsageError{"at most " + std::to_string(kMaxArguments) +
                                 " message arguments"};
            const Bus bus = connectBus("event add");
            return bus ? add(o->msgid, o->args) : kExitFailed;
        });
    c.argument("MSGID", o->msgid, "the message id", true);
    c.arguments("ARG", o->args, "its message arguments");
}

} // namespace qvmcli
