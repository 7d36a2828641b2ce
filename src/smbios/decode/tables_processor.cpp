// Tables of the processor structure.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry ProcessorTypeTable[] = {
    {1, "Other"},          {2, "Unknown"},       {3, "Central Processor"},
    {4, "Math Processor"}, {5, "DSP Processor"}, {6, "Video Processor "},
};
static_assert(isCompleteTable(ProcessorTypeTable, 6));

extern "C" constexpr ValueTextEntry ProcessorUpgradeTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Daughter Board"},
    {4, "ZIF Socket"},
    {5, "Replaceable Piggy Back"},
    {6, "None"},
    {7, "LIF Socket"},
    {8, "Slot 1"},
    {9, "Slot 2"},
    {10, "370-pin socket"},
    {11, "Slot A"},
    {12, "Slot M"},
    {13, "Socket 423"},
    {14, "Socket A"},
    {15, "Socket 478"},
    {16, "Socket 754"},
    {17, "Socket 940"},
    {18, "Socket 939"},
    {19, "Socket mPGA604"},
    {20, "Socket LGA771"},
    {21, "Socket LGA775"},
    {22, "Socket S1"},
    {23, "Socket AM2"},
    {24, "Socket F"},
    {25, "Socket LGA1366"},
    {26, "Socket G34"},
    {27, "Socket AM3"},
    {28, "Socket C32"},
    {29, "Socket LGA1156"},
    {30, "Socket LGA1567"},
    {31, "Socket PGA988A"},
    {32, "Socket BGA1288"},
    {33, "Socket rPGA988B"},
    {34, "Socket BGA1023"},
    {35, "Socket BGA1224"},
    {36, "Socket LGA1155"},
    {37, "Socket LGA1356"},
    {38, "Socket LGA2011"},
    {39, "Socket FS1"},
    {40, "Socket FS2"},
    {41, "Socket FM1"},
    {42, "Socket FM2"},
    {43, "Socket LGA2011-3"},
    {44, "Socket LGA1356-3"},
    {45, "Socket LGA1150"},
    {46, "Socket BGA1168"},
    {47, "Socket BGA1234"},
    {48, "Socket BGA1364"},
    {49, "Socket AM4"},
    {50, "Socket LGA1151"},
    {51, "Socket BGA1356"},
    {52, "Socket BGA1440"},
    {53, "Socket BGA1515"},
    {54, "Socket LGA3647-1"},
    {55, "Socket SP3"},
    {56, "Socket SP3r2"},
};
static_assert(isCompleteTable(ProcessorUpgradeTable, 56));

extern "C" constexpr ValueTextEntry ProcessorCharacteristicsTable[] = {
    {1, "Unknown"},
    {2, "64-bit Capable"},
    {3, "Multi-Core"},
    {4, "Hardware Thread"},
    {5, "Execute Protection"},
    {6, "Enhanced Virtualization"},
    {7, "Power/Performance Control"},
};
static_assert(isCompleteTable(ProcessorCharacteristicsTable, 7));
