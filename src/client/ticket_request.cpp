// The manager's Ticket request: a checked record out, a reply record and an
// optional list of strings back.
#include "client/manager_call.hpp"
#include "client/ticket_operations.hpp"
#include "common/text.hpp"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace
{

using qvm::HeapPtr;
using qvm::HeapString;
using qvm::log::kDebug;
using qvm::log::kErr;
using qvm::log::kUser;

// Empty reply texts leave the caller's field as it was.
template <std::size_t N> void copyIfGiven(char (&field)[N], const char* text)
{
    if (text[0] != '\0')
        qvm::boundedCopy(field, text);
}

bool readReplyRecord(qvm::ManagerCallFrame& frame, TicketReplyRecord& reply)
{
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    const char* text3 = nullptr;
    if (!frame.read("(uuttyyyyyysss)", &reply.value1, &reply.value2,
                    &reply.value3, &reply.value4, &reply.byte1, &reply.byte2,
                    &reply.byte3, &reply.byte4, &reply.byte5, &reply.byte6,
                    &text1, &text2, &text3))
        return false;
    copyIfGiven(reply.text1, text1);
    copyIfGiven(reply.text2, text2);
    copyIfGiven(reply.text3, text3);
    return true;
}

bool logFailure(const char* format, int r)
{
    QVM_Logger(kUser, kErr, format, std::strerror(-r));
    return false;
}

// Copies the strings of the reply's array in the order received. When the
// heap runs out, reading stops and the strings so far are kept. False after
// a logged failure.
bool readReplyStrings(sd_bus_message* reply, std::vector<HeapString>& strings)
{
    int r = sd_bus_message_enter_container(reply, SD_BUS_TYPE_ARRAY, "s");
    if (r < 0)
        return logFailure(
            "Failed to enter conatinaer response message strings: %s\n", r);
    const char* text = nullptr;
    while ((r = sd_bus_message_read(reply, "s", &text)) > 0)
    {
        HeapString copy(qvm::heapCopy(text));
        if (!copy)
            break;
        try
        {
            strings.push_back(std::move(copy));
        }
        catch (const std::bad_alloc&)
        {
            break;
        }
    }
    if (r < 0)
        return logFailure("Failed read response message string: %s\n", r);
    QVM_Logger(kUser, kDebug, "read response message string count: %d\n",
               static_cast<int>(strings.size()));
    r = sd_bus_message_exit_container(reply);
    if (r < 0)
        return logFailure(
            "Failed to exit container response message strings: %s\n", r);
    return true;
}

// The caller's list: the strings last received first, ended by a null
// pointer. Null when there are none or the array cannot be had.
char** handOut(std::vector<HeapString>& strings)
{
    if (strings.empty())
        return nullptr;
    HeapPtr<char*> list(
        static_cast<char**>(std::calloc(strings.size() + 1, sizeof(char*))));
    if (!list)
        return nullptr;
    std::size_t slot = 0;
    for (auto it = strings.rbegin(); it != strings.rend(); ++it)
        list.get()[slot++] = it->release();
    return list.release();
}

} // namespace

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
        QVM_Logger(kUser, kErr,
                   "(ticket) Failed to issue method call(%d): %s -- OP:%d "
                   "SUB:%d\n",
                   -r, frame.errorMessage(), request->op, request->sub);
        return QVM_RC_FAILED;
    }
    if (!readReplyRecord(frame, *reply))
        return QVM_RC_FAILED;

    // A list pointer is required only where the list is handed out; other
    // operations may pass null.
    if (list != nullptr)
        *list = nullptr;
    std::vector<HeapString> strings;
    if (!readReplyStrings(frame.reply(), strings))
        return QVM_RC_FAILED;
    if (operation->handsOutList)
        *list = handOut(strings);
    return QVM_RC_SUCCESS;
}
