#include "smbios/identity.hpp"

#include "qvmclient.h"

#include <optional>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kSystemInformation = 1;
constexpr std::uint8_t kOemStrings = 11;
constexpr std::size_t kProductName = 5;  // type 1, string number
constexpr std::size_t kSerialNumber = 7; // type 1, string number
// An OEM string that starts with this character carries the system name.
constexpr char kSystemNameMark = '9';

// The structure of the type when the table holds exactly one of them.
std::optional<StructureView> soleStructure(const TableView& table,
                                           std::uint8_t type) noexcept
{
    std::optional<StructureView> sole;
    for (const auto& entry : table)
    {
        if (entry.view.type() != type)
            continue;
        if (sole)
            return std::nullopt;
        sole = entry.view;
    }
    return sole;
}

TableText systemString(const TableView& table, std::size_t offset) noexcept
{
    const auto system = soleStructure(table, kSystemInformation);
    if (!system)
        return {nullptr, QVM_RC_NOT_FOUND};
    const char* value = system->stringAt(offset);
    if (value == nullptr)
        return {nullptr, QVM_RC_INVALID_REQUEST};
    return {value, QVM_RC_SUCCESS};
}

const char* oemSystemName(const TableView& table) noexcept
{
    std::uint16_t number = 1;
    for (const auto& entry : table)
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

TableText serviceTag(const TableView& table) noexcept
{
    return systemString(table, kSerialNumber);
}

TableText systemName(const TableView& table) noexcept
{
    if (const char* name = oemSystemName(table))
        return {name, QVM_RC_SUCCESS};
    return systemString(table, kProductName);
}

BiosIdentity biosIdentity(const TableView& table) noexcept
{
    BiosIdentity identity{firstBiosRelease(table)};
    for (const auto& entry : table)
    {
        if (entry.view.type() != kSystemInformation)
            continue;
        if (identity.serialNumber == nullptr)
            identity.serialNumber = entry.view.stringAt(kSerialNumber);
        if (identity.productName == nullptr)
            identity.productName = entry.view.stringAt(kProductName);
    }
    return identity;
}

} // namespace qvm::smbios
