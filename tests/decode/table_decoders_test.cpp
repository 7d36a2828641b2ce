#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using qvmtest::decoded;
using qvmtest::decodedAtOddAddress;
using qvmtest::FieldCapture;
using testing::IsEmpty;

namespace
{

const char* const kReserved =
    "s:Notice:Reserved for future assignment via this specification";

} // namespace

// One value or more per decoder: its label, and that it reads its own table.
TEST(TableDecoders, EachDecoderUsesItsLabelAndItsTable)
{
    qvmtest::expectDecoded({
        {decoded(qvmAddSystemWakeupType, 6U),
         {"d:System Wakeup Type:6", "s:Item:Power Switch"}},
        {decoded(qvmAddBaseBoardFeatureFlags, 9U),
         {"d:Base Board Feature Flags:9", "x:Hosting board:1",
          "x:Replaceable:8"}},
        {decoded(qvmAddBaseBoardBoardType, 10U),
         {"d:Base Board Board Type:10", "s:Item:Motherboard"}},
        {decoded(qvmAddSystemEnclosureStatus, 3U),
         {"d:System Enclosure or Chassis Status:3", "s:Item:Safe"}},
        {decoded(qvmAddSESecurityStatus, 4U),
         {"d:System Enclosure or Chassis Security Status:4",
          "s:Item:External interface locked out"}},
        {decoded(qvmAddProcessorType, 6U),
         {"d:Processor Type:6", "s:Item:Video Processor "}},
        {decoded(qvmAddProcessorUpgrade, 56U),
         {"d:Processor Upgrade:56", "s:Item:Socket SP3r2"}},
        {decoded(qvmAddProcessorCharacteristics, 0x84U),
         {"d:Processor Characteristics:132", "x:64-bit Capable:4",
          "x:Power/Performance Control:80"}},
        {decoded(qvmAddMcErrorDetectMethod, 8U),
         {"d:Memory Controller Error DetectMethod:8", "s:Item:CRC"}},
        {decoded(qvmAddMcErrorCorrectCapability, 0x21U),
         {"d:Memory Controller Error Correct Capability:33", "x:Other:1",
          "x:Error Scrubbing:20"}},
        {decoded(qvmAddMcInterleaveSupport, 7U),
         {"d:Memory Controller Interleave Support:7",
          "s:Item:Sixteen Way Interleave"}},
        {decodedAtOddAddress(qvmAddMcMemorySpeeds, 0x001C, 2),
         {"d:Memory Controller Memory Speed:28", "x:70ns:4", "x:60ns:8",
          "x:50ns:10"}},
        {decoded(qvmAddMemoryModuleVoltage, 6U),
         {"d:Required voltages for each memory module sockets:6", "x:3.3V:2",
          "x:2.9V:4"}},
        {decodedAtOddAddress(qvmAddMmMemoryType, 0x0400, 2),
         {"d:Memory Module Memory Type:1024", "x:SDRAM:400"}},
        {decoded(qvmAddMmErrorStatus, 4U),
         {"d:Memory Module Error Status:4",
          "x:Error Status obtained from the event log:4"}},
        {decodedAtOddAddress(qvmAddCacheSRAMType, 0x0060, 2),
         {"d:Cache SRAM Type:96", "x:Synchronous:20", "x:Asynchronous:40"}},
        {decodedAtOddAddress(qvmAddCacheSupportedSRAMType, 0xFFFF, 2),
         {"d:Supported SRAM Type:65535"}},
        {decoded(qvmAddCacheErrCorrectingType, 5U),
         {"d:Cache Error Correcting Type:5", "s:Item:Single-bit ECC"}},
        {decoded(qvmAddCacheSystemCacheType, 5U),
         {"d:Cache System Cache Type:5", "s:Item:Unified"}},
        {decoded(qvmAddCacheAssociativity, 14U),
         {"d:Cache Associativity:14", "s:Item:20-way Set-Associative"}},
        {decoded(qvmAddPortConnectorType, 160U),
         {"d:Port Connector Type:160", "s:Item:PC-98"}},
        {decoded(qvmAddPortType, 18U),
         {"d:Port Type:18", "s:Item:PCMCIA Type I"}},
        {decoded(qvmAddPortType, 255U), {"d:Port Type:255", "s:Item:Other "}},
        {decoded(qvmAddSystemSlotType, 182U),
         {"d:System Slot Type:182", "s:Item:PCI Express Gen 3 X16"}},
        {decoded(qvmAddSystemSlotDataBusWidth, 14U),
         {"d:System Slot Data Bus Width:14", "s:Item:32x or x32"}},
        {decoded(qvmAddSystemSlotCurrentUsage, 4U),
         {"d:System Slot Current Usage:4", "s:Item:In use"}},
        {decoded(qvmAddSystemSlotLength, 4U),
         {"d:System Slot Length:4", "s:Item:Long Length"}},
        {decoded(qvmAddSlotCharacteristics1, 0xC0U),
         {"d:Slot characteristics 1:192",
          "x:PC Card slot supports Zoom Video :40",
          "x:PC Card slot supports Modem Ring Resume :80"}},
        {decoded(qvmAddSlotCharacteristics2, 1U),
         {"d:Slot characteristics 2:1",
          "x:PCI slot supports Power Management Enable (PME#) signal:1"}},
        {decoded(qvmAddOnboardDeviceTypes, 10U),
         {"d:Onboard Device Type:10", "s:Item:Sas Controller"}},
        {decoded(qvmAddSELTypes, 23U),
         {"d:System Event Log Type:23", "s:Item:System boot"}},
        {decoded(qvmAddSELVarDataFormatType, 200U),
         {"d:Event Log Variable Data Format Types:200",
          "s:Item:OEM assigned "}},
        {decoded(qvmAddPostResultsBitmapDw1, 0x80000001U),
         {"d:POST Results Bitmap - First DWORD:2147483649",
          "x:Channel 2 Timer error :1",
          "x:Normally 0; available for OEM assignment :80000000"}},
        {decoded(qvmAddPostResultsBitmapDw2, 0x80U),
         {"d:POST Results Bitmap - Second DWOR:128",
          "x:PCI Memory Conflict :80"}},
        {decoded(qvmAddPMALocation, 163U),
         {"d:Physical Memory Array Location:163",
          "s:Item:PC-98/Local bus add-on card"}},
        {decoded(qvmAddPMAUse, 7U),
         {"d:Physical Memory Array Use:7", "s:Item:Cache memory"}},
        {decoded(qvmAddPMAErrorCorrectionTypes, 7U),
         {"d:Physical Memory Array Error Correction Types:7", "s:Item:CRC"}},
        {decoded(qvmAddMemoryDeviceFormFactor, 15U),
         {"d:Memory Device - Form Factor:15", "s:Item:FB-DIMM"}},
        {decoded(qvmAddMemoryDeviceType, 26U),
         {"d:Memory Device - Type:26", "s:Item:DDR4"}},
        {decoded(qvmAddMemoryDeviceType, 21U), {"d:Memory Device - Type:21"}},
        {decodedAtOddAddress(qvmAddMemoryDeviceTypeDetail, 0x4080, 2),
         {"d:Memory Device - Type Detail:16512", "x:Synchronous:80",
          "x:Unbuffered(Unregistered):4000"}},
        {decoded(qvmAddMemoryErrorType, 14U),
         {"d:32-bit Memory Error Information - Type:14",
          "s:Item:Uncorrectable error"}},
        {decoded(qvmAddMemoryErrorGranularity, 4U),
         {"d:Memory Error - Error granularity:4",
          "s:Item:Memory partition level"}},
        {decoded(qvmAddMemoryErrorOperation, 5U),
         {"d:Memory Error - Error Operation:5", "s:Item:Partial Write"}},
        {decoded(qvmAddPointingDeviceType, 7U),
         {"d:Pointing Device - Type:7", "s:Item:Touch Pad"}},
        {decoded(qvmAddPointingDeviceInterface, 162U),
         {"d:Pointing Device - Interface:162", "s:Item:USB"}},
        {decoded(qvmAddPBDeviceChemistry, 8U),
         {"d:Portable Battery - Device Chemistry:8",
          "s:Item:Lithium Polymer "}},
        {decoded(qvmAddMDType, 13U),
         {"d:Management Device Type:13", "s:Item:Holtek HT82H791 "}},
        {decoded(qvmAddMDAddressType, 5U),
         {"d:Management Device - Address Type:5", "s:Item:SM Bus "}},
        {decoded(qvmAddMemoryChannelType, 4U),
         {"d:Memory Channel Type:4", "s:Item:SyncLink "}},
        {decoded(qvmAddIPMIDIBMCInterfaceType, 3U),
         {"d:BMC Interface Type:3", "s:Item:BT: Block Transfer "}},
        {decoded(qvmAddMCHostInterfaceType, 64U),
         {"d:MC Host Interface Type:64", "s:Item:Network Host Interface "}},
        {decoded(qvmAddStructureTypeE1Info, 225U),
         {"d:Structure Type:225", "s:Item:FQDD to SMBIOS Structure Mapping "}},
        {decoded(qvmAddStructureTypeE2Info, 226U),
         {"d:Structure Type:226", "s:Item:Memory Device Extension "}},
        {decoded(qvmAddStructureTypeInfo, 43U),
         {"d:Structure Type:43", "s:Item:TPM Device"}},
        // The four sensor structures split one byte: status in bits 7:5,
        // location or device type in bits 4:0. 0x67 is status 3, location 7;
        // 0xF1 is status 7 (no row), location 17.
        {decoded(qvmAddVPStatus, 0x67U),
         {"d:Voltage Probe - Status:3", "s:Item:OK "}},
        {decoded(qvmAddVPLocation, 0x67U),
         {"d:Voltage Probe - Location:7", "s:Item:Motherboard "}},
        {decoded(qvmAddCoolingDeviceStatus, 0x67U),
         {"d:Cooling Device - Status:3", "s:Item:OK "}},
        {decoded(qvmAddCoolingDeviceType, 0x67U),
         {"d:Cooling Device - Type:7", "s:Item:Power Supply Fan "}},
        {decoded(qvmAddTemperatureProbeStatus, 0x67U),
         {"d:Temperature Probe - Status:3", "s:Item:OK "}},
        {decoded(qvmAddTemperatureProbeLoc, 0x67U),
         {"d:Temperature Probe - Location:7", "s:Item:Motherboard "}},
        {decoded(qvmAddECPStatus, 0x67U),
         {"d:Electrical Current Probe - Status:3", "s:Item:OK "}},
        {decoded(qvmAddECPLoc, 0x67U),
         {"d:Electrical Current Probe - Location:7", "s:Item:Motherboard "}},
        {decoded(qvmAddVPStatus, 0xF1U), {"d:Voltage Probe - Status:7"}},
        {decoded(qvmAddVPLocation, 0xF1U), {"d:Voltage Probe - Location:17"}},
        {decoded(qvmAddCoolingDeviceType, 0xF1U),
         {"d:Cooling Device - Type:17", "s:Item:Passive Cooling "}},
        // Unknown values give the integer field alone; enumerations look up the
        // low byte while the integer field keeps the value.
        {decoded(qvmAddSystemWakeupType, 40U), {"d:System Wakeup Type:40"}},
        {decoded(qvmAddSystemWakeupType, 0x106U),
         {"d:System Wakeup Type:262", "s:Item:Power Switch"}},
        {decoded(qvmAddProcessorCharacteristics, 1U),
         {"d:Processor Characteristics:1"}},
        // The low seven bits are the type and bit seven the lock, which is
        // reported even for a type without a text.
        {decoded(qvmAddSystemEnclosureType, 0x97U),
         {"d:System Enclosure or Chassis Types:151",
          "s:Item:Rack Mount Chassis", "s:Chassis:Chassis Lock present"}},
        {decoded(qvmAddSystemEnclosureType, 0x10U),
         {"d:System Enclosure or Chassis Types:16", "s:Item:Lunch Box"}},
        {decoded(qvmAddSystemEnclosureType, 0xC0U),
         {"d:System Enclosure or Chassis Types:192",
          "s:Chassis:Chassis Lock present"}},
        // Each range of the management-type double word has its notice; the OEM
        // bit wins over the out-of-range block.
        {decoded(qvmAddSELSysManagementTypes, 0x30U),
         {"d:System Management Types:48",
          "s:Item:Chassis secure switch activated "}},
        {decoded(qvmAddSELSysManagementTypes, 0x21U),
         {"d:System Management Types:33",
          "s:Item:Fan n (n = 0 to 7) Out of range "}},
        {decoded(qvmAddSELSysManagementTypes, 0x31U),
         {"d:System Management Types:49", kReserved}},
        {decoded(qvmAddSELSysManagementTypes, 0x20000U),
         {"d:System Management Types:131072", kReserved}},
        {decoded(qvmAddSELSysManagementTypes, 0x10005U),
         {"d:System Management Types:65541",
          "s:Notice:A system-management probe or cooling device is "
          "out-of-range"}},
        {decoded(qvmAddSELSysManagementTypes, 0x80000000U),
         {"d:System Management Types:2147483648", "s:Notice:OEM assigned"}},
        {decoded(qvmAddSELSysManagementTypes, 0x80010005U),
         {"d:System Management Types:2147549189", "s:Notice:OEM assigned"}},
        {decoded(qvmAddSELSysManagementTypes, 0U),
         {"d:System Management Types:0"}},
    });
}

TEST(Decoders, NullListOrFieldAppendsNothing)
{
    const uint8_t bytes[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    qvmAddSystemWakeupType(6, nullptr);
    qvmAddSystemEnclosureType(0x97, nullptr);
    qvmAddSELSysManagementTypes(0x30, nullptr);
    qvmAddMcMemorySpeeds(bytes, nullptr);
    qvmAddBiosCharacteristics(bytes, nullptr);
    qvmAddBiosCharacteristicsExt1(0xFF, nullptr);
    qvmAddBiosCharacteristicsExt2(0xFF, nullptr);
    qvmAddProcessorFamily(1, nullptr);
    qvmAddProcessorFamily2(256, nullptr);
    qvmAddProcessorVoltage(0xFF, nullptr);
    qvmAddProcessorStatus(0xFF, nullptr);
    qvmAddSystemSlotId(1, 5, nullptr);
    qvmAddSystemBootStatus(0, nullptr);
    qvmAddSBDSManufactureDate(0, nullptr);
    qvmAddSystemResetCapabilities(0, nullptr);
    qvmAddHardwareSecuritySettings(0, nullptr);
    qvmAddOBRAConnections(0, nullptr);
    qvmAddTpmDeviceCharacteristics(0, 0, nullptr);
    qvmAddSPSCharacteristics(bytes, nullptr);
    FieldCapture fields;
    qvmAddMcMemorySpeeds(nullptr, fields.list());
    qvmAddMmMemoryType(nullptr, fields.list());
    qvmAddCacheSRAMType(nullptr, fields.list());
    qvmAddCacheSupportedSRAMType(nullptr, fields.list());
    qvmAddMemoryDeviceTypeDetail(nullptr, fields.list());
    qvmAddBiosCharacteristics(nullptr, fields.list());
    qvmAddSPSCharacteristics(nullptr, fields.list());
    EXPECT_THAT(fields.strings(), IsEmpty());
}
