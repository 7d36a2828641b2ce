// Who the machine of a table is: service tag, system name and BIOS
// release, read from an explicit table. The texts point into the table.
#pragma once

#include "smbios/table_context.hpp"
#include "smbios/table_view.hpp"

#include <cstdint>

namespace qvm::smbios
{

// A text of the table, or the status saying why there is none:
// QVM_RC_NOT_FOUND when the structure it comes from is not there once,
// QVM_RC_INVALID_REQUEST when that structure lacks the string.
struct TableText
{
    const char* text = nullptr;
    std::int64_t status = 0;
};

// The serial number of the table's only System Information structure.
TableText serviceTag(const TableView& table) noexcept;

// The first OEM string marked as the system name (an OEM Strings
// structure's string k + 1 for the k-th such structure, starting with '9';
// the text after the mark), else the product name of the table's only
// System Information structure.
TableText systemName(const TableView& table) noexcept;

// BIOS version and release pair (firstBiosRelease), with the serial number
// and product name each from the first System Information structure that
// has it.
struct BiosIdentity
{
    BiosRelease bios;
    const char* serialNumber = nullptr;
    const char* productName = nullptr;
};
BiosIdentity biosIdentity(const TableView& table) noexcept;

} // namespace qvm::smbios
