// qvm ticket ...: the text form of a ticket.
#include "cli.hpp"

#include <cstdio>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{

void addTicketCommands(Command& app)
{
    Command group = app.group("ticket", "tickets");
    auto text = std::make_shared<std::string>();
    Command c = group.command(
        "check",
        "check that TEXT has a ticket's form (no bus traffic)\n"
        "PART1_PART2_PART3: 1 to 9, 1 to 17 and 32 to 64 characters.",
        [text]
        {
            const int32_t rc = QVM_valid_ticket_check(text->c_str());
            if (rc != QVM_RC_SUCCESS)
                return failWith("ticket check",
                                "ticket text '" + *text +
                                    "': not PART1_PART2_PART3 of 1 to 9, 1 "
                                    "to 17 and 32 to 64 characters (" +
                                    statusText(rc) + ")");
            std::puts("valid");
            return kExitOk;
        });
    c.argument("TEXT", *text, "the ticket text", true);
}

} // namespace qvmcli
