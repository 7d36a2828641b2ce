// qvm ticket ...: the text form of a ticket.
#include "cli.hpp"

#include <cstdio>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

int check(const Args& args)
{
    const int32_t rc = QVM_valid_ticket_check(args.at(0).c_str());
    if (rc != QVM_RC_SUCCESS)
        return fail("ticket check", rc);
    std::puts("valid");
    return kExitOk;
}

} // namespace

const std::vector<Command>& ticketCommands()
{
    static const std::vector<Command> commands{
        {"ticket", "check", "TEXT",
         "check that TEXT has a ticket's form (no bus traffic)\n"
         "PART1_PART2_PART3: 1 to 9, 1 to 17 and 32 to 64 characters.",
         check},
    };
    return commands;
}

} // namespace qvmcli
