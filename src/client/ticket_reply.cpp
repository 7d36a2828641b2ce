// The manager's answer to a Ticket request: a reply record, then an array
// of strings.
#include "client/manager_replies.hpp"
#include "common/handles.hpp"
#include "common/text.hpp"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace qvm
{
namespace
{

using facility::kUser;
using priority::kDebug;
using priority::kErr;

// Empty reply texts leave the caller's field as it was.
template <std::size_t N> void copyIfGiven(char (&field)[N], const char* text)
{
    if (text[0] != '\0')
        boundedCopy(field, text);
}

bool readReplyRecord(sd_bus_message* reply, TicketReplyRecord& record)
{
    const char* text1 = nullptr;
    const char* text2 = nullptr;
    const char* text3 = nullptr;
    if (!readReply(reply, "(uuttyyyyyysss)", &record.value1, &record.value2,
                   &record.value3, &record.value4, &record.byte1, &record.byte2,
                   &record.byte3, &record.byte4, &record.byte5, &record.byte6,
                   &text1, &text2, &text3))
        return false;
    copyIfGiven(record.text1, text1);
    copyIfGiven(record.text2, text2);
    copyIfGiven(record.text3, text3);
    return true;
}

bool logFailure(const char* format, int r)
{
    qvm::log(kUser, kErr, format, std::strerror(-r));
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
        HeapString copy(heapCopy(text));
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
    qvm::log(kUser, kDebug, "read response message string count: %d\n",
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

int32_t readTicketReply(sd_bus_message* reply, const TicketOperation& operation,
                        TicketReplyRecord& record, char*** list)
{
    if (!readReplyRecord(reply, record))
        return QVM_RC_FAILED;
    // A list pointer is required only where the list is handed out; other
    // operations may pass null.
    if (list != nullptr)
        *list = nullptr;
    std::vector<HeapString> strings;
    if (!readReplyStrings(reply, strings))
        return QVM_RC_FAILED;
    if (operation.handsOutList)
        *list = handOut(strings);
    return QVM_RC_SUCCESS;
}

} // namespace qvm
