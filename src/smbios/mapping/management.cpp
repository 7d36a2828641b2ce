// Types 34 to 36, 38 and 42: management devices, their components and
// thresholds, the IPMI device and the management controller's host
// interface.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

constexpr FieldRow kManagementDevice[] = {
    text(4, "Description"),
    decode(5, decode::addMDType),
    integer(6, U32, "Address"),
    decode(10, decode::addMDAddressType),
};

constexpr FieldRow kManagementComponent[] = {
    text(4, "Description"),
    integer(5, U16, "ManagementDeviceHandle"),
    integer(7, U16, "ComponentHandle"),
    integer(9, U16, "ThresholdHandle"),
};

constexpr FieldRow kManagementThresholds[] = {
    integer(4, U16, "LowerThresholdNonCritical"),
    integer(6, U16, "UpperThresholdNonCritical"),
    integer(8, U16, "LowerThresholdCritical"),
    integer(10, U16, "UpperThresholdCritical"),
    integer(12, U16, "LowerThresholdNonRecoverable"),
    integer(14, U16, "UpperThresholdNonRecoverable"),
};

// The base address modifier and interrupt number (bytes 16 and 17) are
// not shown.
constexpr FieldRow kIpmiDevice[] = {
    decode(4, decode::addIPMIDIBMCInterfaceType),
    integer(5, U8, "IPMISpecificationRevision"),
    integer(6, U8, "I2CSlaveAddress"),
    integer(7, U8, "NVStorageDeviceAddress"),
    integer(8, U64, "BaseAddress"),
};

constexpr FieldRow kHostInterface[] = {
    decode(4, decode::addMCHostInterfaceType),
};

const TypeMapping kManagementMappings[] = {
    {34, kManagementDevice},     {35, kManagementComponent},
    {36, kManagementThresholds}, {38, kIpmiDevice},
    {42, kHostInterface},
};

} // namespace

const std::span<const TypeMapping> managementMappings = kManagementMappings;

} // namespace qvm::mapping
