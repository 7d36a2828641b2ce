// The manager's Package, Save, Collect, Export and GetVersion requests.
#include "client/manager_call.hpp"
#include "client/manager_replies.hpp"
#include "common/text.hpp"
#include "qvmclient.h"

namespace
{

using qvm::ManagerCallFrame;
using qvm::orEmpty;

template <typename... Args>
int32_t statusRequest(const char* member, const char* failureLine,
                      const char* signature, Args... args)
{
    ManagerCallFrame frame;
    if (!frame.call(member, failureLine, signature, args...))
        return QVM_RC_FAILED;
    return qvm::readStatusReply(frame.reply());
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
    return qvm::readDataReply(frame.reply(), kind, textOut, valueOut);
}

} // namespace

extern "C" int32_t QVM_PackageRequest(const char* ticket, uint16_t number1,
                                      uint16_t number2)
{
    if (ticket == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return statusRequest("Package",
                         "(package)Failed to issue method call: %s\n", "sqq",
                         ticket, number1, number2);
}

extern "C" int32_t QVM_SaveRequest(const char* ticket, const char* text,
                                   uint64_t value, const SaveRecord* record)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return statusRequest("Save", "(save)Failed to issue method call: %s\n",
                         "sst(uuuss)", ticket, orEmpty(text), value,
                         record->value1, record->value2, record->value3,
                         record->text1, record->text2);
}

extern "C" int32_t QVM_CollectRequest(const char* ticket, char** text_out,
                                      const CollectRecord* record,
                                      uint16_t number1, uint16_t number2,
                                      uint64_t* value_out)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return dataRequest(text_out, value_out, record->kind, "Collect",
                       "(Collect) Failed to issue method call: %s\n",
                       "s(ussssss)qq", ticket, record->kind, record->text1,
                       record->text2, record->text3, record->text4,
                       record->text5, record->text6, number1, number2);
}

extern "C" int32_t QVM_ExportRequest(const char* ticket, char** text_out,
                                     const CollectRecord* record,
                                     uint16_t number, uint64_t* value_out)
{
    if (ticket == nullptr || record == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return dataRequest(text_out, value_out, record->kind, "Export",
                       "(export) Failed to issue method call: %s\n",
                       "s(ussssss)q", ticket, record->kind, record->text1,
                       record->text2, record->text3, record->text4,
                       record->text5, record->text6, number);
}

extern "C" int32_t QVM_GetVersionRequest(char** version)
{
    if (version == nullptr)
        return QVM_RC_INVALID_REQUEST;
    ManagerCallFrame frame;
    if (!frame.call("GetVersion", "(version)Failed to issue method call: %s\n",
                    nullptr))
        return QVM_RC_FAILED;
    return qvm::readVersionReply(frame.reply(), version);
}

extern "C" sd_bus* QVM_ConnectToBus(void)
{
    return qvm::defaultBus().release();
}
