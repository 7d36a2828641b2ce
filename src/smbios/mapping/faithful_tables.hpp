// Code-to-text tables of fields that only the faithful view decodes:
// processor upgrades (type 4), cache SRAM types (type 7), memory devices (type
// 17), processor additional information (type 44) and firmware inventory
// information (type 45).
#pragma once

#include "smbios/decode/value_table.hpp"

namespace qvm::mapping
{

using decode::isCompleteTable;

// Every socket the tables name so far, where the library's own table ends
// earlier.
inline constexpr ValueTextEntry kProcessorUpgrades[] = {
    {0x01, "Other"},
    {0x02, "Unknown"},
    {0x03, "Daughter Board"},
    {0x04, "ZIF Socket"},
    {0x05, "Replaceable Piggy Back"},
    {0x06, "None"},
    {0x07, "LIF Socket"},
    {0x08, "Slot 1"},
    {0x09, "Slot 2"},
    {0x0A, "370-pin Socket"},
    {0x0B, "Slot A"},
    {0x0C, "Slot M"},
    {0x0D, "Socket 423"},
    {0x0E, "Socket A (Socket 462)"},
    {0x0F, "Socket 478"},
    {0x10, "Socket 754"},
    {0x11, "Socket 940"},
    {0x12, "Socket 939"},
    {0x13, "Socket mPGA604"},
    {0x14, "Socket LGA771"},
    {0x15, "Socket LGA775"},
    {0x16, "Socket S1"},
    {0x17, "Socket AM2"},
    {0x18, "Socket F (1207)"},
    {0x19, "Socket LGA1366"},
    {0x1A, "Socket G34"},
    {0x1B, "Socket AM3"},
    {0x1C, "Socket C32"},
    {0x1D, "Socket LGA1156"},
    {0x1E, "Socket LGA1567"},
    {0x1F, "Socket PGA988A"},
    {0x20, "Socket BGA1288"},
    {0x21, "Socket rPGA988B"},
    {0x22, "Socket BGA1023"},
    {0x23, "Socket BGA1224"},
    {0x24, "Socket LGA1155"},
    {0x25, "Socket LGA1356"},
    {0x26, "Socket LGA2011"},
    {0x27, "Socket FS1"},
    {0x28, "Socket FS2"},
    {0x29, "Socket FM1"},
    {0x2A, "Socket FM2"},
    {0x2B, "Socket LGA2011-3"},
    {0x2C, "Socket LGA1356-3"},
    {0x2D, "Socket LGA1150"},
    {0x2E, "Socket BGA1168"},
    {0x2F, "Socket BGA1234"},
    {0x30, "Socket BGA1364"},
    {0x31, "Socket AM4"},
    {0x32, "Socket LGA1151"},
    {0x33, "Socket BGA1356"},
    {0x34, "Socket BGA1440"},
    {0x35, "Socket BGA1515"},
    {0x36, "Socket LGA3647-1"},
    {0x37, "Socket SP3"},
    {0x38, "Socket SP3r2"},
    {0x39, "Socket LGA2066"},
    {0x3A, "Socket BGA1392"},
    {0x3B, "Socket BGA1510"},
    {0x3C, "Socket BGA1528"},
    {0x3D, "Socket LGA4189"},
    {0x3E, "Socket LGA1200"},
    {0x3F, "Socket LGA4677"},
    {0x40, "Socket LGA1700"},
    {0x41, "Socket BGA1744"},
    {0x42, "Socket BGA1781"},
    {0x43, "Socket BGA1211"},
    {0x44, "Socket BGA2422"},
    {0x45, "Socket LGA1211"},
    {0x46, "Socket LGA2422"},
    {0x47, "Socket LGA5773"},
    {0x48, "Socket BGA5773"},
};
static_assert(isCompleteTable(kProcessorUpgrades, 72));

// By bit number.
inline constexpr ValueTextEntry kSramTypes[] = {
    {0, "Other"},        {1, "Unknown"},        {2, "Non-burst"},
    {3, "Burst"},        {4, "Pipeline Burst"}, {5, "Synchronous"},
    {6, "Asynchronous"},
};
static_assert(isCompleteTable(kSramTypes, 7));

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
