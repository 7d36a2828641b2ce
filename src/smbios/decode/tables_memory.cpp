// Tables of the memory controller, memory module, memory array, memory
// device, memory error and memory channel structures.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry McErrorDetectMethodTable[] = {
    {1, "Other"},        {2, "Unknown"},    {3, "None"},
    {4, "8-bit Parity"}, {5, "32-bit ECC"}, {6, "64-bit ECC"},
    {7, "128-bit ECC"},  {8, "CRC"},
};
static_assert(isCompleteTable(McErrorDetectMethodTable, 8));

extern "C" constexpr ValueTextEntry McErrorCorrectCapabilityTable[] = {
    {0, "Other"},
    {1, "Unknown"},
    {2, "None"},
    {3, "Single Bit Error Correcting"},
    {4, "Double Bit Error Correcting"},
    {5, "Error Scrubbing"},
};
static_assert(isCompleteTable(McErrorCorrectCapabilityTable, 6));

extern "C" constexpr ValueTextEntry McInterleaveSupportTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "One Way Interleave"},
    {4, "Two Way Interleave"},
    {5, "Four Way Interleave"},
    {6, "Eight Way Interleave"},
    {7, "Sixteen Way Interleave"},
};
static_assert(isCompleteTable(McInterleaveSupportTable, 7));

extern "C" constexpr ValueTextEntry McMemorySpeedsTable[] = {
    {0, "Other"}, {1, "Unknown"}, {2, "70ns"}, {3, "60ns"}, {4, "50ns"},
};
static_assert(isCompleteTable(McMemorySpeedsTable, 5));

extern "C" constexpr ValueTextEntry MemoryModuleVoltageTable[] = {
    {0, "5V"},
    {1, "3.3V"},
    {2, "2.9V"},
};
static_assert(isCompleteTable(MemoryModuleVoltageTable, 3));

extern "C" constexpr ValueTextEntry MmMemoryTypeTable[] = {
    {0, "Other"}, {1, "Unknown"},   {2, "Standard"}, {3, "Fast Page Mode"},
    {4, "EDO"},   {5, "Parity"},    {6, "ECC "},     {7, "SIMM"},
    {8, "DIMM"},  {9, "Burst EDO"}, {10, "SDRAM"},
};
static_assert(isCompleteTable(MmMemoryTypeTable, 11));

extern "C" constexpr ValueTextEntry MmErrorStatusTable[] = {
    {0, "Uncorrectable errors received"},
    {1, "Correctable errors received"},
    {2, "Error Status obtained from the event log"},
};
static_assert(isCompleteTable(MmErrorStatusTable, 3));

extern "C" constexpr ValueTextEntry PMALocationTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "System board or motherboard"},
    {4, "ISA add-on card"},
    {5, "EISA add-on card"},
    {6, "PCI add-on card"},
    {7, "MCA add-on card"},
    {8, "PCMCIA add-on card"},
    {9, "Proprietary add-on card"},
    {10, "NuBus"},
    {160, "PC-98/C20 add-on card"},
    {161, "PC-98/C24 add-on card"},
    {162, "PC-98/E add-on card"},
    {163, "PC-98/Local bus add-on card"},
};
static_assert(isCompleteTable(PMALocationTable, 14));

extern "C" constexpr ValueTextEntry PMAUseTable[] = {
    {1, "Other"},        {2, "Unknown"},      {3, "System memory"},
    {4, "Video memory"}, {5, "Flash memory"}, {6, "Non-volatile RAM"},
    {7, "Cache memory"},
};
static_assert(isCompleteTable(PMAUseTable, 7));

extern "C" constexpr ValueTextEntry PMAErrorCorrectionTypesTable[] = {
    {1, "Other"},          {2, "Unknown"},       {3, "None"}, {4, "Parity"},
    {5, "Single-bit ECC"}, {6, "Multi-bit ECC"}, {7, "CRC"},
};
static_assert(isCompleteTable(PMAErrorCorrectionTypesTable, 7));

extern "C" constexpr ValueTextEntry MemoryDeviceFormFactorTable[] = {
    {1, "Other"},         {2, "Unknown"},
    {3, "SIMM"},          {4, "SIP"},
    {5, "Chip"},          {6, "DIP"},
    {7, "ZIP"},           {8, "Proprietary Card"},
    {9, "DIMM"},          {10, "TSOP"},
    {11, "Row of chips"}, {12, "RIMM"},
    {13, "SODIMM"},       {14, "SRIMM"},
    {15, "FB-DIMM"},
};
static_assert(isCompleteTable(MemoryDeviceFormFactorTable, 15));

extern "C" constexpr ValueTextEntry MemoryDeviceTypeTable[] = {
    {1, "Other"},   {2, "Unknown"}, {3, "DRAM"},    {4, "EDRAM"},
    {5, "VRAM"},    {6, "SRAM"},    {7, "RAM"},     {8, "ROM"},
    {9, "FLASH"},   {10, "EEPROM"}, {11, "FEPROM"}, {12, "EPROM"},
    {13, "CDRAM"},  {14, "3DRAM"},  {15, "SDRAM"},  {16, "SGRAM"},
    {17, "RDRAM"},  {18, "DDR"},    {19, "DDR2"},   {20, "DDR2 FB-DIMM"},
    {24, "DDR3"},   {25, "FBD2"},   {26, "DDR4"},   {27, "LPDDR"},
    {28, "LPDDR2"}, {29, "LPDDR3"}, {30, "LPDDR4"},
};
static_assert(isCompleteTable(MemoryDeviceTypeTable, 27));

extern "C" constexpr ValueTextEntry MemoryDeviceTypeDetailTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Fast-paged"},
    {4, "Static column"},
    {5, "Pseudo-STATIC"},
    {6, "RAMBUS "},
    {7, "Synchronous"},
    {8, "CMOS"},
    {9, "EDO"},
    {10, "Window DRAM"},
    {11, "Cache DRAM"},
    {12, "Non-volatile"},
    {13, "Registered(Buffered)"},
    {14, "Unbuffered(Unregistered)"},
};
static_assert(isCompleteTable(MemoryDeviceTypeDetailTable, 14));

extern "C" constexpr ValueTextEntry MemoryErrorTypeTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "OK"},
    {4, "Bad read"},
    {5, "Parity error"},
    {6, "Single-bit error"},
    {7, "Double-bit error"},
    {8, "Multi-bit error"},
    {9, "Nibble error"},
    {10, "Checksum error"},
    {11, "CRC error"},
    {12, "Corrected single-bit error"},
    {13, "Corrected error"},
    {14, "Uncorrectable error"},
};
static_assert(isCompleteTable(MemoryErrorTypeTable, 14));

extern "C" constexpr ValueTextEntry MemoryErrorGranularityTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Device level"},
    {4, "Memory partition level"},
};
static_assert(isCompleteTable(MemoryErrorGranularityTable, 4));

extern "C" constexpr ValueTextEntry MemoryErrorOperationTable[] = {
    {1, "Other"}, {2, "Unknown"},       {3, "Read"},
    {4, "Write"}, {5, "Partial Write"},
};
static_assert(isCompleteTable(MemoryErrorOperationTable, 5));

extern "C" constexpr ValueTextEntry MemoryChannelTypeTable[] = {
    {1, "Other "},
    {2, "Unknown "},
    {3, "RamBus "},
    {4, "SyncLink "},
};
static_assert(isCompleteTable(MemoryChannelTypeTable, 4));
