// Tables of the voltage, temperature and current probes and the cooling
// device. All four structures pack a status (bits 7:5) and a location or
// device type (bits 4:0) into one byte; the probes share one list of
// locations and all four one list of states, so each list is written once.
#include "qvmclient.h"
#include "smbios/decode/value_table.hpp"

using qvm::decode::isCompleteTable;

#define QVM_PROBE_STATUS_ROWS                                                  \
    {1, "Other "}, {2, "Unknown "}, {3, "OK "}, {4, "Non-critical "},          \
        {5, "Critical "}, {6, "Non-recoverable "},

#define QVM_PROBE_LOCATION_ROWS                                                \
    {1, "Other "}, {2, "Unknown "}, {3, "Processor "}, {4, "Disk "},           \
        {5, "Peripheral Bay "}, {6, "System Management Module "},              \
        {7, "Motherboard "}, {8, "Memory Module "}, {9, "Processor Module "},  \
        {10, "Power Unit "}, {11, "Add-in Card "},

extern "C" constexpr ValueTextEntry VPStatusTable[] = {QVM_PROBE_STATUS_ROWS};
static_assert(isCompleteTable(VPStatusTable, 6));

extern "C" constexpr ValueTextEntry VPLocationTable[] = {
    QVM_PROBE_LOCATION_ROWS};
static_assert(isCompleteTable(VPLocationTable, 11));

extern "C" constexpr ValueTextEntry CoolingDeviceStatusTable[] = {
    QVM_PROBE_STATUS_ROWS};
static_assert(isCompleteTable(CoolingDeviceStatusTable, 6));

extern "C" constexpr ValueTextEntry CoolingDeviceTypeTable[] = {
    {1, "Other "},
    {2, "Unknown "},
    {3, "Fan "},
    {4, "Centrifugal Blower "},
    {5, "Chip Fan "},
    {6, "Cabinet Fan "},
    {7, "Power Supply Fan "},
    {8, "Heat Pipe "},
    {9, "Integrated Refrigeration "},
    {16, "Active Cooling "},
    {17, "Passive Cooling "},
};
static_assert(isCompleteTable(CoolingDeviceTypeTable, 11));

extern "C" constexpr ValueTextEntry TemperatureProbeStatusTable[] = {
    QVM_PROBE_STATUS_ROWS};
static_assert(isCompleteTable(TemperatureProbeStatusTable, 6));

extern "C" constexpr ValueTextEntry TemperatureProbeLocTable[] = {
    QVM_PROBE_LOCATION_ROWS};
static_assert(isCompleteTable(TemperatureProbeLocTable, 11));

extern "C" constexpr ValueTextEntry ECPStatusTable[] = {QVM_PROBE_STATUS_ROWS};
static_assert(isCompleteTable(ECPStatusTable, 6));

extern "C" constexpr ValueTextEntry ECPLocTable[] = {QVM_PROBE_LOCATION_ROWS};
static_assert(isCompleteTable(ECPLocTable, 11));
