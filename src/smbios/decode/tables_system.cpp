// Tables of the BIOS, system, base board and chassis structures.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry SystemWakeupTypeTable[] = {
    {0, "Reserved"},     {1, "Other"},      {2, "Unknown"},
    {3, "APM Timer"},    {4, "Modem Ring"}, {5, "LAN Remote"},
    {6, "Power Switch"}, {7, "PCI PME#"},   {8, "AC Power Restored"},
};
static_assert(isCompleteTable(SystemWakeupTypeTable, 9));

extern "C" constexpr ValueTextEntry BaseBoardFeatureFlagsTable[] = {
    {0, "Hosting board"},
    {1, "Requires at least one daughter board or auxiliary card"},
    {2, "Removable"},
    {3, "Replaceable"},
    {4, "Hot swappable"},
};
static_assert(isCompleteTable(BaseBoardFeatureFlagsTable, 5));

extern "C" constexpr ValueTextEntry BaseBoardBoardTypeTable[] = {
    {1, "Unknown"},
    {2, "Other"},
    {3, "Server Blade"},
    {4, "Connectivity Switch"},
    {5, "System Management Module"},
    {6, "Processor Module"},
    {7, "I/O Module"},
    {8, "Memory Module"},
    {9, "Daughter board"},
    {10, "Motherboard"},
    {11, "Processor/Memory Module"},
    {12, "Processor/IO Module"},
    {13, "Interconnect Board"},
};
static_assert(isCompleteTable(BaseBoardBoardTypeTable, 13));

extern "C" constexpr ValueTextEntry SystemEnclosureTypeTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Desktop"},
    {4, "Low Profile Desktop"},
    {5, "Pizza Box"},
    {6, "Mini Tower"},
    {7, "Tower"},
    {8, "Portable"},
    {9, "Laptop"},
    {10, "Notebook"},
    {11, "Hand Held"},
    {12, "Docking Station"},
    {13, "All in One"},
    {14, "Sub Notebook"},
    {15, "Space-saving"},
    {16, "Lunch Box"},
    {17, "Main Server Chassis"},
    {18, "Expansion Chassis"},
    {19, "SubChassis"},
    {20, "Bus Expansion Chassis"},
    {21, "Peripheral Chassis"},
    {22, "RAID Chassis"},
    {23, "Rack Mount Chassis"},
    {24, "Sealed-case PC"},
    {25, "Multi-system Chassis"},
    {26, "CompactPCI"},
    {27, "AdvancedTCA"},
    {28, "Blade"},
    {29, "Blade Enclosure"},
    {30, "Tablet"},
    {31, "Convertible"},
    {32, "Detachable"},
    {33, "IoT Gateway"},
    {34, "Embedded PC"},
    {35, "Mini PC"},
    {36, "Stick PC"},
};
static_assert(isCompleteTable(SystemEnclosureTypeTable, 36));

extern "C" constexpr ValueTextEntry SystemEnclosureStatusTable[] = {
    {1, "Other"},   {2, "Unknown"},  {3, "Safe"},
    {4, "Warning"}, {5, "Critical"}, {6, "Non-recoverable"},
};
static_assert(isCompleteTable(SystemEnclosureStatusTable, 6));

extern "C" constexpr ValueTextEntry SESecurityStatusTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "None"},
    {4, "External interface locked out"},
    {5, "External interface enabled"},
};
static_assert(isCompleteTable(SESecurityStatusTable, 5));
