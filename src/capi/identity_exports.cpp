// The exported identity queries over the loaded table.
#include "capi/table_state.hpp"
#include "common/handles.hpp"
#include "common/text.hpp"
#include "qvmclient.h"
#include "smbios/identity.hpp"

#include <cstdlib>
#include <cstring>

namespace
{

constexpr char kServiceTagKey[] = "SMBIOSServiceTagString";
constexpr char kSystemNameKey[] = "SMBIOSSystemNameString";

bool isKey(const char* key, const char* expected) noexcept
{
    return key != nullptr && std::strcmp(key, expected) == 0;
}

// A heap copy of the found text; a missing string still clears *text.
int64_t handOut(const qvm::smbios::TableText& found, char** text) noexcept
{
    if (found.status == QVM_RC_INVALID_REQUEST)
        *text = nullptr;
    if (found.status != QVM_RC_SUCCESS)
        return found.status;
    char* copy = qvm::heapCopy(found.text);
    if (copy == nullptr)
        return QVM_RC_NO_RESOURCES;
    *text = copy;
    return QVM_RC_SUCCESS;
}

char* tableText(const char* text) noexcept
{
    return qvm::smbios::handedOut(text);
}

} // namespace

extern "C" int64_t GetServiceTag(const char* key, char** text)
{
    if (!isKey(key, kServiceTagKey))
        return QVM_RC_NOT_FOUND;
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return handOut(qvm::smbios::serviceTag(qvm::smbios::loadedTable()), text);
}

extern "C" int64_t GetSystemName(const char* key, char** text)
{
    if (!isKey(key, kSystemNameKey))
        return QVM_RC_NOT_FOUND;
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return handOut(qvm::smbios::systemName(qvm::smbios::loadedTable()), text);
}

extern "C" int64_t GetSystemDetails(const char* key, char** text)
{
    if (key == nullptr)
        return QVM_RC_NOT_FOUND;
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    char* value = nullptr;
    int64_t status = QVM_RC_INVALID_REQUEST;
    if (isKey(key, kServiceTagKey))
        status = GetServiceTag(key, &value);
    else if (isKey(key, kSystemNameKey))
        status = GetSystemName(key, &value);
    if (status == QVM_RC_SUCCESS)
        *text = value;
    return status;
}

extern "C" int64_t GetBiosInfo(const char* key, SmbiosBiosInfo** info)
{
    if (key == nullptr || std::strcmp(key, qvm::smbios::kBiosInfoKey) != 0)
        return QVM_RC_NOT_FOUND;
    if (info == nullptr)
        return QVM_RC_INVALID_REQUEST;
    qvm::HeapPtr<SmbiosBiosInfo> record(
        static_cast<SmbiosBiosInfo*>(std::calloc(1, sizeof(SmbiosBiosInfo))));
    if (!record)
        return QVM_RC_NO_RESOURCES;
    const auto table = qvm::smbios::loadedTable();
    if (!table.hasStructures())
        return QVM_RC_NOT_FOUND;
    const auto identity = qvm::smbios::biosIdentity(table);
    record->bios_version = tableText(identity.bios.version);
    if (identity.bios.version != nullptr)
    {
        record->major_release = identity.bios.release.major;
        record->minor_release = identity.bios.release.minor;
    }
    record->serial_number = tableText(identity.serialNumber);
    record->product_name = tableText(identity.productName);
    *info = record.release();
    return QVM_RC_SUCCESS;
}

extern "C" unsigned int GetSmbiosMajorVersion(void)
{
    return MajorVersion;
}

extern "C" unsigned int GetSmbiosMinorVersion(void)
{
    return MinorVersion;
}
