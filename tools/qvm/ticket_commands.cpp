// qvm ticket ...: the text form of a ticket.
#include "cli.hpp"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{

void addTicketCommands(CLI::App& app)
{
    CLI::App* group = addGroup(app, "ticket", "tickets");
    auto text = std::make_shared<std::string>();
    CLI::App* c = addCommand(
        *group, "check",
        "check that TEXT has a ticket's form (no bus traffic)\n"
        "PART1_PART2_PART3: 1 to 9, 1 to 17 and 32 to 64 characters.",
        [text]
        {
            const int32_t rc = QVM_valid_ticket_check(text->c_str());
            if (rc != QVM_RC_SUCCESS)
                return fail("ticket check", rc);
            std::puts("valid");
            return kExitOk;
        });
    c->add_option("TEXT", *text, "the ticket text")->required();
}

} // namespace qvmcli
