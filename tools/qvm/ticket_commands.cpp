// qvm ticket ...: the text form of a ticket.
#include "cli.hpp"
#include "client/ticket_text.hpp"

#include <cstdio>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

using qvm::TicketTextFault;

std::string lengthText(const char* part, std::size_t length, const char* bound,
                       std::size_t limit)
{
    return std::string(part) + " has " + std::to_string(length) +
           " characters, " + bound + " " + std::to_string(limit);
}

// Which part of the text is wrong, and how.
std::string faultText(const qvm::TicketTextCheck& check)
{
    constexpr char kThird[] = "the part after the second underscore";
    switch (check.fault)
    {
        case TicketTextFault::noFirstUnderscore:
            return "no underscore ends the first part";
        case TicketTextFault::firstPartEmpty:
            return "the first part is empty";
        case TicketTextFault::firstPartTooLong:
            return lengthText("the first part", check.length, "at most",
                              qvm::kTicketFirstPartMax);
        case TicketTextFault::noSecondUnderscore:
            return "no underscore ends the second part";
        case TicketTextFault::secondPartEmpty:
            return "the second part is empty";
        case TicketTextFault::secondPartTooLong:
            return lengthText("the second part", check.length, "at most",
                              qvm::kTicketSecondPartMax);
        case TicketTextFault::thirdPartTooShort:
            return lengthText(kThird, check.length, "at least",
                              qvm::kTicketThirdPartMin);
        case TicketTextFault::thirdPartTooLong:
            return lengthText(kThird, check.length, "at most",
                              qvm::kTicketThirdPartMax);
        case TicketTextFault::none:
            break;
    }
    return "valid";
}

} // namespace

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
            const qvm::TicketTextCheck check =
                qvm::checkTicketText(text->c_str());
            if (check.fault != qvm::TicketTextFault::none)
                return failWith("ticket check",
                                "ticket text '" + *text +
                                    "': " + faultText(check) + " (" +
                                    statusText(QVM_RC_INVALID_TICKET) + ")");
            std::puts("valid");
            return kExitOk;
        });
    c.argument("TEXT", *text, "the ticket text", true);
}

} // namespace qvmcli
