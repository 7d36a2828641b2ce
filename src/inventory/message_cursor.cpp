#include "inventory/message_cursor.hpp"

#include "qvmclient.h"

namespace qvm
{

MessageItem peekItem(sd_bus_message* m) noexcept
{
    MessageItem item;
    item.result = sd_bus_message_peek_type(m, &item.type, &item.contents);
    return item;
}

bool leaveContainers(sd_bus_message* m, int count) noexcept
{
    bool left = true;
    for (int i = 0; i < count; ++i)
        left = sd_bus_message_exit_container(m) >= 0 && left;
    return left;
}

bool isReadableReply(sd_bus_message* m, int32_t& result) noexcept
{
    uint8_t type = 0;
    if (sd_bus_message_get_type(m, &type) < 0 ||
        type == SD_BUS_MESSAGE_METHOD_ERROR)
    {
        result = QVM_RC_FAILED;
        return false;
    }
    return true;
}

bool enterReplyArray(sd_bus_message* m, int32_t& result) noexcept
{
    const MessageItem first = peekItem(m);
    if (first.failed())
    {
        result = QVM_RC_FAILED;
        return false;
    }
    if (!first.is(SD_BUS_TYPE_ARRAY))
    {
        result = first.result;
        return false;
    }
    const int r =
        sd_bus_message_enter_container(m, SD_BUS_TYPE_ARRAY, first.contents);
    if (r <= 0)
    {
        result = r < 0 ? r : QVM_RC_FAILED;
        return false;
    }
    return true;
}

bool enterItem(sd_bus_message* m, const MessageItem& item) noexcept
{
    return sd_bus_message_enter_container(m, item.type, item.contents) > 0;
}

const char* readString(sd_bus_message* m) noexcept
{
    const char* text = nullptr;
    if (sd_bus_message_read_basic(m, SD_BUS_TYPE_STRING, &text) <= 0)
        return nullptr;
    return text;
}

} // namespace qvm
