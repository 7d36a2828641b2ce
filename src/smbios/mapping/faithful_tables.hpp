// Code-to-text tables of fields that only the faithful view decodes:
// memory devices (type 17), processor additional information (type 44) and
// firmware inventory information (type 45).
#pragma once

#include "smbios/decode/value_table.hpp"

namespace qvm::mapping
{

using decode::isCompleteTable;

inline constexpr ValueTextEntry kMemoryTechnology[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "DRAM"},
    {4, "NVDIMM-N"},
    {5, "NVDIMM-F"},
    {6, "NVDIMM-P"},
    {7, "Intel Optane persistent memory"},
};
static_assert(isCompleteTable(kMemoryTechnology, 7));

inline constexpr ValueTextEntry kOperatingMode[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Volatile memory"},
    {4, "Byte-accessible persistent memory"},
    {5, "Block-accessible persistent memory"},
};
static_assert(isCompleteTable(kOperatingMode, 5));

inline constexpr ValueTextEntry kProcessorArchitecture[] = {
    {0, "Reserved"},
    {1, "IA32 (x86)"},
    {2, "x64 (x86-64, Intel64, AMD64, EM64T)"},
    {3, "Intel Itanium architecture"},
    {4, "32-bit ARM (Aarch32)"},
    {5, "64-bit ARM (Aarch64)"},
    {6, "32-bit RISC-V (RV32)"},
    {7, "64-bit RISC-V (RV64)"},
    {8, "128-bit RISC-V (RV128)"},
    {9, "32-bit LoongArch (LoongArch32)"},
    {10, "64-bit LoongArch (LoongArch64)"},
};
static_assert(isCompleteTable(kProcessorArchitecture, 11));

inline constexpr ValueTextEntry kFirmwareVersionFormat[] = {
    {0, "Free-form"},
    {1, "Major.Minor"},
    {2, "32-bit hexadecimal"},
    {3, "64-bit hexadecimal"},
};
static_assert(isCompleteTable(kFirmwareVersionFormat, 4));

inline constexpr ValueTextEntry kFirmwareIdFormat[] = {
    {0, "Free-form"},
    {1, "UEFI ESRT FwClass GUID"},
};
static_assert(isCompleteTable(kFirmwareIdFormat, 2));

inline constexpr ValueTextEntry kFirmwareCharacteristics[] = {
    {0, "Updatable"},
    {1, "Write-Protect"},
};
static_assert(isCompleteTable(kFirmwareCharacteristics, 2));

inline constexpr ValueTextEntry kFirmwareState[] = {
    {1, "Other"},        {2, "Unknown"},
    {3, "Disabled"},     {4, "Enabled"},
    {5, "Absent"},       {6, "StandbyOffline"},
    {7, "StandbySpare"}, {8, "UnavailableOffline"},
};
static_assert(isCompleteTable(kFirmwareState, 8));

} // namespace qvm::mapping
