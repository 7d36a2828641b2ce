// The manager's Ticket request: a checked record out, a reply record and an
// optional list of strings back.
#include "client/manager_call.hpp"
#include "client/manager_replies.hpp"
#include "client/manager_requests.hpp"
#include "client/ticket_operations.hpp"

namespace qvm
{

int32_t ticketRequest(const TicketRequestRecord& request,
                      TicketReplyRecord& reply, char*** list)
{
    const TicketOperation* operation = admitTicket(request, list);
    if (operation == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const TicketTexts texts = ticketTexts(*operation, request);

    ManagerCallFrame frame;
    if (!frame.connect())
        return QVM_RC_FAILED;
    const int r = frame.invoke(
        "Ticket", "(uuyyyyyysss)", request.version, request.magic, request.op,
        request.sub, request.param1, request.param2, request.param3,
        request.param4, texts.first, texts.second, texts.third);
    if (r < 0)
    {
        log(facility::kUser, priority::kErr,
            "(ticket) Failed to issue method call(%d): %s -- OP:%d "
            "SUB:%d\n",
            -r, frame.errorMessage(), request.op, request.sub);
        return QVM_RC_FAILED;
    }
    return readTicketReply(frame.reply(), *operation, reply, list);
}

} // namespace qvm
