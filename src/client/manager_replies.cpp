#include "client/manager_replies.hpp"

#include "client/manager_call.hpp"
#include "common/text.hpp"

#include <cstring>

namespace qvm
{
namespace
{

// Collect and Export hand their data back only for this record kind.
constexpr uint32_t kKindWantsData = 16;

} // namespace

bool replyRead(int r)
{
    if (r >= 0)
        return true;
    qvm::log(facility::kUser, priority::kErr,
             "Failed to parse response message: %s\n", std::strerror(-r));
    return false;
}

int32_t readStatusReply(sd_bus_message* reply)
{
    int64_t status = 0;
    if (!readReply(reply, "x", &status))
        return QVM_RC_FAILED;
    return managerStatus(status);
}

int32_t readDataReply(sd_bus_message* reply, uint32_t kind, char** textOut,
                      uint64_t* valueOut)
{
    int64_t status = 0;
    uint64_t number = 0;
    const char* text = nullptr;
    if (!readReply(reply, "xts", &status, &number, &text))
        return QVM_RC_FAILED;
    const int32_t result = managerStatus(status);
    const bool bothOut = textOut != nullptr && valueOut != nullptr;
    if (bothOut)
    {
        *valueOut = 0;
        *textOut = nullptr;
    }
    if (result != QVM_RC_SUCCESS || kind != kKindWantsData)
        return result;
    // The manager has carried out the call already; without both out
    // pointers its data cannot be handed back.
    if (!bothOut)
        return QVM_RC_INVALID_REQUEST;
    *valueOut = number;
    *textOut = heapCopy(text);
    return result;
}

int32_t readVersionReply(sd_bus_message* reply, char** version)
{
    const char* text = nullptr;
    if (!readReply(reply, "s", &text))
        return QVM_RC_FAILED;
    *version = heapCopy(text);
    return *version == nullptr ? QVM_RC_NO_RESOURCES : QVM_RC_SUCCESS;
}

} // namespace qvm
