// Tables of the port connector, system slot and on-board device structures.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry PortConnectorTypeTable[] = {
    {0, "None"},
    {1, "Centronics"},
    {2, "Mini Centronics"},
    {3, "Proprietary"},
    {4, "DB-25 pin male"},
    {5, "DB-25 pin female"},
    {6, "DB-15 pin male"},
    {7, "DB-15 pin female"},
    {8, "DB-9 pin male"},
    {9, "DB-9 pin female"},
    {10, "RJ-11"},
    {11, "RJ-45"},
    {12, "50 Pin MiniSCSI"},
    {13, "Mini-DIN"},
    {14, "Micro-DIN"},
    {15, "PS/2"},
    {16, "Infrared"},
    {17, "HP-HI"},
    {18, "Access Bus (USB)"},
    {19, "SSA SCSI"},
    {20, "Circular DIN-8 male"},
    {21, "Circular DIN-8 female"},
    {22, "On Board IDE"},
    {23, "On Board Floppy"},
    {24, "9 Pin Dual Inline (pin 10 cut)"},
    {25, "25 Pin Dual Inline (pin 26 cut)"},
    {26, "50 Pin Dual Inline"},
    {27, "68 Pin Dual Inline"},
    {28, "On Board Sound Input from CD-ROM"},
    {29, "Mini-Centronics Type-14"},
    {30, "Mini-Centronics Type-26"},
    {31, "Mini-jack (headphones)"},
    {32, "BNC"},
    {33, "1394"},
    {34, "SAS/SATA Plug Receptacle"},
    {160, "PC-98"},
    {161, "PC-98Hireso"},
    {162, "PC-H98"},
    {163, "PC-98Note"},
    {164, "PC-98Full"},
    {255, "Other"},
};
static_assert(isCompleteTable(PortConnectorTypeTable, 41));

extern "C" constexpr ValueTextEntry PortTypeTable[] = {
    {0, "None"},
    {1, "Parallel Port XT/AT Compatible"},
    {2, "Parallel Port PS/2"},
    {3, "Parallel Port ECP"},
    {4, "Parallel Port EPP"},
    {5, "Parallel Port ECP/EPP"},
    {6, "Serial Port XT/AT Compatible"},
    {7, "Serial Port 16450 Compatible"},
    {8, "Serial Port 16550 Compatible"},
    {9, "Serial Port 16550A Compatible"},
    {10, "SCSI Port"},
    {11, "MIDI Port"},
    {12, "Joy Stick Port"},
    {13, "Keyboard Port"},
    {14, "Mouse Port"},
    {15, "SSA SCSI"},
    {16, "USB"},
    {17, "FireWire (IEEE P1394)"},
    {18, "PCMCIA Type I"},
    {19, "PCMCIA Type II"},
    {20, "PCMCIA Type III"},
    {21, "Cardbus"},
    {22, "Access Bus Port"},
    {23, "SCSI II"},
    {24, "SCSI Wide"},
    {25, "PC-98"},
    {26, "PC-98-Hireso"},
    {27, "PC-H98"},
    {28, "Video Port"},
    {29, "Audio Port"},
    {30, "Modem Port"},
    {31, "Network Port"},
    {32, "SATA Port"},
    {33, "SAS Port"},
    {160, "8251 Compatible"},
    {161, "8251 FIFO Compatible"},
    {255, "Other "},
};
static_assert(isCompleteTable(PortTypeTable, 37));

extern "C" constexpr ValueTextEntry SystemSlotTypeTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "ISA"},
    {4, "MCA"},
    {5, "EISA"},
    {6, "PCI"},
    {7, "PC Card (PCMCIA)"},
    {8, "VL-VESA"},
    {9, "Proprietary"},
    {10, "Processor Card Slot"},
    {11, "Proprietary Memory Card Slot"},
    {12, "I/O Riser Card Slot"},
    {13, "NuBus"},
    {14, "PCI - 66MHz Capable"},
    {15, "AGP"},
    {16, "AGP 2X"},
    {17, "AGP 4X"},
    {18, "PCI-X"},
    {19, "AGP 8X"},
    {20, "M.2 Socket 1-DP (Mechanical Key A)"},
    {21, "M.2 Socket 1-SD (Mechanical Key E)"},
    {22, "M.2 Socket 2 (Mechanical Key B)"},
    {23, "M.2 Socket 3 (Mechanical Key M)"},
    {24, "MXM Type I"},
    {25, "MXM Type II"},
    {26, "MXM Type III (standard connector)"},
    {27, "MXM Type III (HE connector)"},
    {28, "MXM Type IV"},
    {29, "MXM 3.0 Type A"},
    {30, "MXM 3.0 Type B"},
    {31, "PCI Express Gen 2 SFF-8639"},
    {32, "PCI Express Gen 3 SFF-8639"},
    {33, "PCI Express Mini 52-pin (CEM spec. 2.0) with bottom-side keep-outs"},
    {34,
     "PCI Express Mini 52-pin (CEM spec. 2.0) without bottom-side keep-outs"},
    {35,
     "PCI Express Mini 76-pin (CEM spec. 2.0) Corresponds to qvmAdd-Mini card"},
    {160, "PC-98/C20 "},
    {161, "PC-98/C24 "},
    {162, "PC-98/E "},
    {163, "PC-98/Local Bus "},
    {164, "PC-98/Card "},
    {165, "PCI Express "},
    {166, "PCI Express X1"},
    {167, "PCI Express X2"},
    {168, "PCI Express X4"},
    {169, "PCI Express X8"},
    {170, "PCI Express X16"},
    {171, "PCI Express Gen 2"},
    {172, "PCI Express Gen 2 X1"},
    {173, "PCI Express Gen 2 X2"},
    {174, "PCI Express Gen 2 X4"},
    {175, "PCI Express Gen 2 X8"},
    {176, "PCI Express Gen 2 X16"},
    {177, "PCI Express Gen 3"},
    {178, "PCI Express Gen 3 X1"},
    {179, "PCI Express Gen 3 X2"},
    {180, "PCI Express Gen 3 X4"},
    {181, "PCI Express Gen 3 X8"},
    {182, "PCI Express Gen 3 X16"},
};
static_assert(isCompleteTable(SystemSlotTypeTable, 58));

extern "C" constexpr ValueTextEntry SystemSlotDataBusWidthTable[] = {
    {1, "Other"},       {2, "Unknown"},     {3, "8 bit"},
    {4, "16 bit"},      {5, "32 bit"},      {6, "64 bit"},
    {7, "128 bit"},     {8, "1x or x1"},    {9, "2x or x2"},
    {10, "4x or x4"},   {11, "8x or x8"},   {12, "12x or x12"},
    {13, "16x or x16"}, {14, "32x or x32"},
};
static_assert(isCompleteTable(SystemSlotDataBusWidthTable, 14));

extern "C" constexpr ValueTextEntry SystemSlotCurrentUsageTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Available"},
    {4, "In use"},
};
static_assert(isCompleteTable(SystemSlotCurrentUsageTable, 4));

extern "C" constexpr ValueTextEntry SystemSlotLengthTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Short length"},
    {4, "Long Length"},
};
static_assert(isCompleteTable(SystemSlotLengthTable, 4));

extern "C" constexpr ValueTextEntry SlotCharacteristics1Table[] = {
    {0, "Characteristics Unknown"},
    {1, "Provides 5.0 Volts"},
    {2, "Provides 3.3 Volts"},
    {3,
     "Slot's opening is shared with another slot, e.g. PCI/EISA shared slot."},
    {4, "PC Card slot supports PC Card-16"},
    {5, "PC Card slot supports CardBus"},
    {6, "PC Card slot supports Zoom Video "},
    {7, "PC Card slot supports Modem Ring Resume "},
};
static_assert(isCompleteTable(SlotCharacteristics1Table, 8));

extern "C" constexpr ValueTextEntry SlotCharacteristics2Table[] = {
    {0, "PCI slot supports Power Management Enable (PME#) signal"},
    {1, "Slot supports hot-plug devices"},
    {2, "PCI slot supports SMBus signal"},
};
static_assert(isCompleteTable(SlotCharacteristics2Table, 3));

extern "C" constexpr ValueTextEntry OnboardDeviceTypesTable[] = {
    {1, "Other"},           {2, "Unknown"},         {3, "Video"},
    {4, "SCSI Controller"}, {5, "Ethernet"},        {6, "Token Ring"},
    {7, "Sound"},           {8, "Pata Controller"}, {9, "Sata Controller"},
    {10, "Sas Controller"},
};
static_assert(isCompleteTable(OnboardDeviceTypesTable, 10));
