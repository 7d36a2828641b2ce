// The manager's Package, Save, Collect, Export and GetVersion requests.
#include "client/manager_requests.hpp"

#include "client/manager_call.hpp"
#include "client/manager_replies.hpp"
#include "common/text.hpp"

namespace qvm
{
namespace
{

template <typename... Args>
int32_t statusRequest(const char* member, const char* failureLine,
                      const char* signature, Args... args)
{
    ManagerCallFrame frame;
    if (!frame.call(member, failureLine, signature, args...))
        return QVM_RC_FAILED;
    return readStatusReply(frame.reply());
}

// Collect and Export: the status, and on request the reply's number and text.
template <typename... Args>
int32_t dataRequest(char** textOut, uint64_t* valueOut, uint32_t kind,
                    const char* member, const char* failureLine,
                    const char* signature, Args... args)
{
    ManagerCallFrame frame;
    if (!frame.call(member, failureLine, signature, args...))
        return QVM_RC_FAILED;
    return readDataReply(frame.reply(), kind, textOut, valueOut);
}

} // namespace

int32_t packageRequest(const char* ticket, uint16_t number1, uint16_t number2)
{
    return statusRequest("Package",
                         "(package)Failed to issue method call: %s\n", "sqq",
                         ticket, number1, number2);
}

int32_t saveRequest(const char* ticket, const char* text, uint64_t value,
                    const SaveRecord& record)
{
    return statusRequest("Save", "(save)Failed to issue method call: %s\n",
                         "sst(uuuss)", ticket, orEmpty(text), value,
                         record.value1, record.value2, record.value3,
                         record.text1, record.text2);
}

int32_t collectRequest(const char* ticket, const CollectRecord& record,
                       uint16_t number1, uint16_t number2, char** textOut,
                       uint64_t* valueOut)
{
    return dataRequest(textOut, valueOut, record.kind, "Collect",
                       "(Collect) Failed to issue method call: %s\n",
                       "s(ussssss)qq", ticket, record.kind, record.text1,
                       record.text2, record.text3, record.text4, record.text5,
                       record.text6, number1, number2);
}

int32_t exportRequest(const char* ticket, const CollectRecord& record,
                      uint16_t number, char** textOut, uint64_t* valueOut)
{
    return dataRequest(textOut, valueOut, record.kind, "Export",
                       "(export) Failed to issue method call: %s\n",
                       "s(ussssss)q", ticket, record.kind, record.text1,
                       record.text2, record.text3, record.text4, record.text5,
                       record.text6, number);
}

int32_t versionRequest(char** version)
{
    ManagerCallFrame frame;
    if (!frame.call("GetVersion", "(version)Failed to issue method call: %s\n",
                    nullptr))
        return QVM_RC_FAILED;
    return readVersionReply(frame.reply(), version);
}

} // namespace qvm
