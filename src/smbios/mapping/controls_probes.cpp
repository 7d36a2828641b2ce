// Types 23 to 33: reset and security settings, power controls, the voltage,
// temperature and current probes, cooling devices, remote access, boot
// status and 64-bit memory errors.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/memory_error.hpp"
#include "smbios/mapping/row_engine.hpp"

#include <array>

namespace qvm::mapping
{
namespace
{

constexpr FieldRow kSystemReset[] = {
    decode(4, decode::addSystemResetCapabilities),
    integer(5, U16, "ResetCount"),
    integer(7, U16, "ResetLimit"),
    integer(9, U16, "TimerInterval"),
    integer(11, U16, "Timeout"),
};

constexpr FieldRow kHardwareSecurity[] = {
    decode(4, decode::addHardwareSecuritySettings),
};

// Plain integers: the bytes are BCD in the table but shown as they are.
constexpr FieldRow kPowerControls[] = {
    integer(4, U8, "NextScheduledPowerOnMonth"),
    integer(5, U8, "NextScheduledPowerOnDayOfMonth"),
    integer(6, U8, "NextScheduledPowerOnHour"),
    integer(7, U8, "NextScheduledPowerOnMinute"),
    integer(8, U8, "NextScheduledPowerOnSecond"),
};

// The three probe types share one layout; only the two decoders of the
// location-and-status byte differ, and their order differs by type.
constexpr std::array<FieldRow, 10> probe(ValueDecoder first,
                                         ValueDecoder second)
{
    return {{
        text(4, "Description"),
        decode(5, first),
        decode(5, second),
        integer(6, U16, "MaximumValue"),
        integer(8, U16, "MinimumValue"),
        integer(10, U16, "Resolution"),
        integer(12, U16, "Tolerance"),
        integer(14, U16, "Accuracy"),
        integer(16, U32, "OEMDefined"),
        // Read whatever the length: older probes end at offset 20, and then
        // this shows the two bytes that follow them in the table.
        integer(20, U16, "NominalValue"),
    }};
}

constexpr auto kVoltageProbe =
    probe(decode::addVPLocation, decode::addVPStatus);
constexpr auto kTemperatureProbe =
    probe(decode::addTemperatureProbeStatus, decode::addTemperatureProbeLoc);
constexpr auto kCurrentProbe = probe(decode::addECPStatus, decode::addECPLoc);

constexpr FieldRow kCoolingDevice[] = {
    integer(4, U16, "TemperatureProbeHandle"),
    decode(6, decode::addCoolingDeviceStatus),
    decode(6, decode::addCoolingDeviceType),
    integer(7, U8, "CoolingUnitGroup"),
    integer(8, U32, "OEMDefined"),
    integer(12, U16, "NominalSpeed"),
    text(14, "Description").when(versionAtLeast(2, 7), lengthAbove(14)),
};

constexpr FieldRow kRemoteAccess[] = {
    text(4, "ManufacturerName"),
    decode(5, decode::addOBRAConnections),
};

// The structure's body is reserved for its own services; only a notice is
// shown.
constexpr FieldRow kBootIntegrity[] = {
    label("Notice", "This structure is Type31, reserved by BIS (Boot Integrity "
                    "Services)"),
};

constexpr FieldRow kBootInformation[] = {
    dump(4, 6, "Reserved"),
    decode(10, decode::addSystemBootStatus),
};

constexpr auto kMemoryError64 = memoryError(U64);

const TypeMapping kControlsProbesMappings[] = {
    {23, kSystemReset},     {24, kHardwareSecurity}, {25, kPowerControls},
    {26, kVoltageProbe},    {27, kCoolingDevice},    {28, kTemperatureProbe},
    {29, kCurrentProbe},    {30, kRemoteAccess},     {31, kBootIntegrity},
    {32, kBootInformation}, {33, kMemoryError64},
};

} // namespace

const std::span<const TypeMapping> controlsProbesMappings =
    kControlsProbesMappings;

} // namespace qvm::mapping
