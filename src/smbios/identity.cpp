// Service tag and system name of the loaded table.
#include "common/text.hpp"
#include "qvmclient.h"
#include "smbios/table.hpp"

#include <cstring>
#include <optional>

namespace
{

using qvm::smbios::StructureView;

constexpr char kServiceTagKey[] = "SMBIOSServiceTagString";
constexpr char kSystemNameKey[] = "SMBIOSSystemNameString";

constexpr std::uint8_t kSystemInformation = 1;
constexpr std::uint8_t kOemStrings = 11;
constexpr std::size_t kProductName = 5;  // type 1, string number
constexpr std::size_t kSerialNumber = 7; // type 1, string number
// An OEM string that starts with this character carries the system name.
constexpr char kSystemNameMark = '9';

bool isKey(const char* key, const char* expected) noexcept
{
    return key != nullptr && std::strcmp(key, expected) == 0;
}

// The structure of the type when the table holds exactly one of them.
std::optional<StructureView> soleStructure(std::uint8_t type) noexcept
{
    std::optional<StructureView> sole;
    for (const auto& entry : qvm::smbios::loadedTable())
    {
        if (entry.view.type() != type)
            continue;
        if (sole)
            return std::nullopt;
        sole = entry.view;
    }
    return sole;
}

int64_t handOutCopy(const char* value, char** text) noexcept
{
    char* copy = qvm::heapCopy(value);
    if (copy == nullptr)
        return QVM_RC_NO_RESOURCES;
    *text = copy;
    return QVM_RC_SUCCESS;
}

// A string of the single System Information structure, copied.
int64_t copySystemString(std::size_t offset, char** text) noexcept
{
    const auto system = soleStructure(kSystemInformation);
    if (!system)
        return QVM_RC_NOT_FOUND;
    const char* value = system->stringAt(offset);
    if (value == nullptr)
    {
        *text = nullptr;
        return QVM_RC_INVALID_REQUEST;
    }
    return handOutCopy(value, text);
}

// The OEM Strings structure at index k (from 0, in table order) is asked
// for its string k + 1 only; with the usual single structure that is its
// first string. The first such string starting with the mark names the
// system.
const char* oemSystemName() noexcept
{
    std::uint16_t number = 1;
    for (const auto& entry : qvm::smbios::loadedTable())
    {
        if (entry.view.type() != kOemStrings)
            continue;
        const char* value = entry.view.string(number++);
        if (value != nullptr && value[0] == kSystemNameMark)
            return value + 1;
    }
    return nullptr;
}

} // namespace

extern "C" int64_t GetServiceTag(const char* key, char** text)
{
    if (!isKey(key, kServiceTagKey))
        return QVM_RC_NOT_FOUND;
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    return copySystemString(kSerialNumber, text);
}

extern "C" int64_t GetSystemName(const char* key, char** text)
{
    if (!isKey(key, kSystemNameKey))
        return QVM_RC_NOT_FOUND;
    if (text == nullptr)
        return QVM_RC_INVALID_REQUEST;
    if (const char* name = oemSystemName())
        return handOutCopy(name, text);
    return copySystemString(kProductName, text);
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
