// The manager's Ticket request: a checked record out, a reply record and an
// optional list of strings back.
#include "client/manager_call.hpp"
#include "client/manager_replies.hpp"
#include "client/ticket_operations.hpp"

extern "C" int32_t QVM_TicketRequest(const TicketRequestRecord* request,
                                     TicketReplyRecord* reply, char*** list)
{
    if (request == nullptr || reply == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const qvm::TicketOperation* operation = qvm::admitTicket(*request, list);
    if (operation == nullptr)
        return QVM_RC_INVALID_REQUEST;
    const qvm::TicketTexts texts = qvm::ticketTexts(*operation, *request);

    qvm::ManagerCallFrame frame;
    if (!frame.connect())
        return QVM_RC_FAILED;
    const int r =
        frame.invoke("Ticket", "(uuyyyyyysss)", request->version,
                     request->magic, request->op, request->sub, request->param1,
                     request->param2, request->param3, request->param4,
                     texts.first, texts.second, texts.third);
    if (r < 0)
    {
        qvm::log(qvm::facility::kUser, qvm::priority::kErr,
                 "(ticket) Failed to issue method call(%d): %s -- OP:%d "
                 "SUB:%d\n",
                 -r, frame.errorMessage(), request->op, request->sub);
        return QVM_RC_FAILED;
    }
    return qvm::readTicketReply(frame.reply(), *operation, *reply, list);
}
