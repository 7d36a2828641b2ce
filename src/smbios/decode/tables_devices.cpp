// Tables of the built-in pointing device and portable battery structures.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

extern "C" constexpr ValueTextEntry PointingDeviceTypeTable[] = {
    {1, "Other"},       {2, "Unknown"},     {3, "Mouse"},     {4, "Track Ball"},
    {5, "Track Point"}, {6, "Glide Point"}, {7, "Touch Pad"},
};
static_assert(isCompleteTable(PointingDeviceTypeTable, 7));

extern "C" constexpr ValueTextEntry PointingDeviceInterfaceTable[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "Serial"},
    {4, "PS/2"},
    {5, "Infrared"},
    {6, "HP-HI"},
    {7, "Bus mouse"},
    {8, "ADB(Apple Desktop Bus"},
    {160, "Bus mouse DB-9"},
    {161, "Bus mouse mirco-DIN"},
    {162, "USB"},
};
static_assert(isCompleteTable(PointingDeviceInterfaceTable, 11));

extern "C" constexpr ValueTextEntry PBDeviceChemistryTable[] = {
    {1, "Other "},
    {2, "Unknown "},
    {3, "Lead Acid "},
    {4, "Nickel Cadmium "},
    {5, "Nickel metal hydride "},
    {6, "Lithium-ion "},
    {7, "Zinc air "},
    {8, "Lithium Polymer "},
};
static_assert(isCompleteTable(PBDeviceChemistryTable, 8));
