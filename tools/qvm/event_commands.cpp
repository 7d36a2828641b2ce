// qvm event ...: records for the event-logging service.
#include "bus.hpp"
#include "cli.hpp"
#include "client/event_log.hpp"

#include <cstdio>
#include <memory>
#include <qvmclient.h>
#include <string>
#include <vector>

namespace qvmcli
{
namespace
{

// The message arguments travel as one "as"; qvm takes at most
// kMaxArguments of them, as its manual says.
constexpr std::size_t kMaxArguments = 16;
constexpr char kEventService[] = "xyz.openbmc_project.EventLogging";

using Strings = std::vector<std::string>;

int add(const std::string& msgid, const Strings& messageArgs)
{
    std::vector<char*> strv;
    for (const std::string& arg : messageArgs)
        strv.push_back(const_cast<char*>(arg.c_str()));
    strv.push_back(nullptr);
    // Without arguments the record carries an empty array of its own.
    const int32_t rc =
        qvm::addEventLog(msgid.c_str(), messageArgs.empty() ? "" : "as",
                         [&](sd_bus_message* m) {
                             return sd_bus_message_append_strv(m, strv.data());
                         });
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
