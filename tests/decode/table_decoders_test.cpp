// The table-driven decoders share one engine; the export of the sample table
// pins the label of each one a structure uses, and the bits they list. An
// object keeps one "Item" per structure, though, so the first test reads
// one known value through every enumeration to show it reads its own table.
// The rest is what the engine does with a value: enumerations, bit lists,
// the split sensor byte, and the decoders with a rule of their own.
#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using qvmtest::decoded;
using qvmtest::decodedAtOddAddress;
using qvmtest::FieldCapture;
using testing::Contains;
using testing::IsEmpty;

TEST(TableDecoders, EachEnumerationReadsItsOwnTable)
{
    const qvmtest::DecoderCase rows[] = {
        {qvmAddSystemWakeupType, 6, "Power Switch"},
        {qvmAddBaseBoardBoardType, 10, "Motherboard"},
        {qvmAddSystemEnclosureStatus, 3, "Safe"},
        {qvmAddSESecurityStatus, 4, "External interface locked out"},
        {qvmAddProcessorType, 6, "Video Processor "},
        {qvmAddProcessorUpgrade, 56, "Socket SP3r2"},
        {qvmAddMcErrorDetectMethod, 8, "CRC"},
        {qvmAddMcInterleaveSupport, 7, "Sixteen Way Interleave"},
        {qvmAddCacheErrCorrectingType, 5, "Single-bit ECC"},
        {qvmAddCacheSystemCacheType, 5, "Unified"},
        {qvmAddCacheAssociativity, 14, "20-way Set-Associative"},
        {qvmAddPortConnectorType, 160, "PC-98"},
        {qvmAddPortType, 18, "PCMCIA Type I"},
        {qvmAddSystemSlotType, 182, "PCI Express Gen 3 X16"},
        {qvmAddSystemSlotDataBusWidth, 14, "32x or x32"},
        {qvmAddSystemSlotCurrentUsage, 4, "In use"},
        {qvmAddSystemSlotLength, 4, "Long Length"},
        {qvmAddOnboardDeviceTypes, 10, "Sas Controller"},
        {qvmAddSELTypes, 23, "System boot"},
        {qvmAddSELVarDataFormatType, 200, "OEM assigned "},
        {qvmAddPMALocation, 163, "PC-98/Local bus add-on card"},
        {qvmAddPMAUse, 7, "Cache memory"},
        {qvmAddPMAErrorCorrectionTypes, 7, "CRC"},
        {qvmAddMemoryDeviceFormFactor, 15, "FB-DIMM"},
        {qvmAddMemoryDeviceType, 26, "DDR4"},
        {qvmAddMemoryErrorType, 14, "Uncorrectable error"},
        {qvmAddMemoryErrorGranularity, 4, "Memory partition level"},
        {qvmAddMemoryErrorOperation, 5, "Partial Write"},
        {qvmAddPointingDeviceType, 7, "Touch Pad"},
        {qvmAddPointingDeviceInterface, 162, "USB"},
        {qvmAddPBDeviceChemistry, 8, "Lithium Polymer "},
        {qvmAddMDType, 13, "Holtek HT82H791 "},
        {qvmAddMDAddressType, 5, "SM Bus "},
        {qvmAddMemoryChannelType, 4, "SyncLink "},
        {qvmAddIPMIDIBMCInterfaceType, 3, "BT: Block Transfer "},
        {qvmAddMCHostInterfaceType, 64, "Network Host Interface "},
        {qvmAddStructureTypeE1Info, 225, "FQDD to SMBIOS Structure Mapping "},
        {qvmAddStructureTypeE2Info, 226, "Memory Device Extension "},
        {qvmAddVPLocation, 0x67, "Motherboard "},
        {qvmAddCoolingDeviceStatus, 0x67, "OK "},
        {qvmAddCoolingDeviceType, 0x67, "Power Supply Fan "},
        {qvmAddTemperatureProbeStatus, 0x67, "OK "},
        {qvmAddECPStatus, 0x67, "OK "},
        {qvmAddECPLoc, 0x67, "Motherboard "},
    };
    for (const auto& row : rows)
        EXPECT_THAT(decoded(row.decoder, row.value),
                    Contains(std::string("s:Item:") + row.text))
            << row.text;
}

TEST(TableDecoders, ValuesBitsAndSplitBytes)
{
    const char* const reserved =
        "s:Notice:Reserved for future assignment via this specification";
    qvmtest::expectDecoded({
        // An unknown value gives the integer field alone; the lookup takes
        // the low byte while the integer field keeps the value.
        {decoded(qvmAddSystemWakeupType, 40U), {"d:System Wakeup Type:40"}},
        {decoded(qvmAddSystemWakeupType, 0x106U),
         {"d:System Wakeup Type:262", "s:Item:Power Switch"}},
        {decoded(qvmAddMemoryDeviceType, 21U), {"d:Memory Device - Type:21"}},
        {decoded(qvmAddProcessorCharacteristics, 0x85U),
         {"d:Processor Characteristics:133", "x:64-bit Capable:4",
          "x:Power/Performance Control:80"}},
        // Word decoders read their word unaligned, or only report it.
        {decodedAtOddAddress(qvmAddMemoryDeviceTypeDetail, 0x4080, 2),
         {"d:Memory Device - Type Detail:16512", "x:Synchronous:80",
          "x:Unbuffered(Unregistered):4000"}},
        {decodedAtOddAddress(qvmAddCacheSupportedSRAMType, 0xFFFF, 2),
         {"d:Supported SRAM Type:65535"}},
        {decoded(qvmAddStructureTypeInfo, 43U),
         {"d:Structure Type:43", "s:Item:TPM Device"}},
        // Sensor bytes: status in bits 7:5, location or type in bits 4:0.
        // 0x67 is status 3, location 7; 0xF1 is status 7 (no row), 17.
        {decoded(qvmAddVPStatus, 0x67U),
         {"d:Voltage Probe - Status:3", "s:Item:OK "}},
        {decoded(qvmAddTemperatureProbeLoc, 0x67U),
         {"d:Temperature Probe - Location:7", "s:Item:Motherboard "}},
        {decoded(qvmAddCoolingDeviceStatus, 0xF1U),
         {"d:Cooling Device - Status:7"}},
        {decoded(qvmAddCoolingDeviceType, 0xF1U),
         {"d:Cooling Device - Type:17", "s:Item:Passive Cooling "}},
        {decoded(qvmAddECPLoc, 0xF1U),
         {"d:Electrical Current Probe - Location:17"}},
        // The chassis type is bits 6:0; bit 7 reports the lock, even for a
        // type without a text.
        {decoded(qvmAddSystemEnclosureType, 0x97U),
         {"d:System Enclosure or Chassis Types:151",
          "s:Item:Rack Mount Chassis", "s:Chassis:Chassis Lock present"}},
        {decoded(qvmAddSystemEnclosureType, 0xC0U),
         {"d:System Enclosure or Chassis Types:192",
          "s:Chassis:Chassis Lock present"}},
        // Each range of the management-type double word has its notice; the
        // OEM bit wins over the out-of-range block.
        {decoded(qvmAddSELSysManagementTypes, 0x30U),
         {"d:System Management Types:48",
          "s:Item:Chassis secure switch activated "}},
        {decoded(qvmAddSELSysManagementTypes, 0x31U),
         {"d:System Management Types:49", reserved}},
        {decoded(qvmAddSELSysManagementTypes, 0x20000U),
         {"d:System Management Types:131072", reserved}},
        {decoded(qvmAddSELSysManagementTypes, 0x10005U),
         {"d:System Management Types:65541",
          "s:Notice:A system-management probe or cooling device is "
          "out-of-range"}},
        {decoded(qvmAddSELSysManagementTypes, 0x80010005U),
         {"d:System Management Types:2147549189", "s:Notice:OEM assigned"}},
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
