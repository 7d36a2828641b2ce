// Tables of the management device, memory channel, IPMI and host interface
// structures, and the names of the structure types.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;
using qvm::decode::valueRange;

extern "C" constexpr ValueTextEntry MDTypeTable[] = {
    {1, "Other "},
    {2, "Unknown "},
    {3, "National Semiconductor LM75 "},
    {4, "National Semiconductor LM78 "},
    {5, "National Semiconductor LM79 "},
    {6, "National Semiconductor LM80 "},
    {7, "National Semiconductor LM81 "},
    {8, "Analog Devices ADM9240 "},
    {9, "Dallas Semiconductor DS1780 "},
    {10, "Maxim 1617 "},
    {11, "Genesys GL518SM "},
    {12, "Winbond W83781D "},
    {13, "Holtek HT82H791 "},
};
static_assert(isCompleteTable(MDTypeTable, 13));

extern "C" constexpr ValueTextEntry MDAddressTypeTable[] = {
    {1, "Other "},  {2, "Unknown "}, {3, "I/O Port "},
    {4, "Memory "}, {5, "SM Bus "},
};
static_assert(isCompleteTable(MDAddressTypeTable, 5));

extern "C" constexpr ValueTextEntry IPMIDIBMCInterfaceTypeTable[] = {
    {0, "Unknown "},
    {1, "KCS: Keyboard Controller Style "},
    {2, "SMIC: Server Management Interface Chip "},
    {3, "BT: Block Transfer "},
    {valueRange(4, 255),
     "Reserved for future assignment by this specification "},
};
static_assert(isCompleteTable(IPMIDIBMCInterfaceTypeTable, 5));

extern "C" constexpr ValueTextEntry MCHostInterfaceTypeTable[] = {
    {valueRange(0, 63), "MCTP Host Interface "},
    {64, "Network Host Interface "},
    {240, "OEM defined "},
};
static_assert(isCompleteTable(MCHostInterfaceTypeTable, 3));

extern "C" constexpr ValueTextEntry StructureTypeInfoTable[] = {
    {0, "BIOS Information"},
    {1, "System Information"},
    {2, "Base Board Information"},
    {3, "System Enclosure"},
    {4, "Processor Information"},
    {5, "Memory Controller Information "},
    {6, "Memory Module Information "},
    {7, "Cache Information "},
    {8, "Port Connector Information "},
    {9, "System Slots "},
    {10, "On Board Devices Information  "},
    {11, "OEM Strings"},
    {12, "System Configuration Options "},
    {13, "BIOS Language Information  "},
    {14, "Group Associations "},
    {15, "System Event Log "},
    {16, "Physical Memory Array "},
    {17, "Memory Device "},
    {18, "32-bit Memory Error Information "},
    {19, "Memory Array Mapped Address "},
    {20, "Memory Device Mapped Address  "},
    {21, "Built-in Pointing Device "},
    {22, "Portable Battery "},
    {23, "System Reset "},
    {24, "Hardware Security "},
    {25, "System Power Controls "},
    {26, "Voltage Probe "},
    {27, "Cooling Device "},
    {28, "Temperature Probe "},
    {29, "Electrical Current Probe "},
    {30, "Out-of-Band Remote Access  "},
    {31, "Boot Integrity Services (BIS) Entry Point"},
    {32, "System Boot Information "},
    {33, "64-bit Memory Error Information "},
    {34, "Management Device "},
    {35, "Management Device Component "},
    {36, "Management Device Threshold Data "},
    {37, "Memory Channel "},
    {38, "IPMI Device Information "},
    {39, "System Power Supply"},
    {40, "Additional Information"},
    {41, "Onboard Devices Extended Information"},
    {42, "Management Controller Host Interface"},
    {43, "TPM Device"},
    {126, "Inactive"},
    {127, "End-of-Table "},
    {225, "FQDD to SMBIOS Structure Mapping "},
    {226, "Memory Device Extension "},
};
static_assert(isCompleteTable(StructureTypeInfoTable, 48));
