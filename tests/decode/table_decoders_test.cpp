#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using qvmtest::decoded;
using qvmtest::FieldCapture;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace
{

using Strings = std::vector<std::string>;

struct Case
{
    const char* what;
    Strings (*run)();
    Strings expected;
};

template <void (*decoder)(uint32_t, FieldList*), uint32_t value>
Strings byValue()
{
    return decoded(decoder, value);
}

// Decoders of a word read through a pointer get it at an odd address.
template <void (*decoder)(const void*, FieldList*), uint16_t word>
Strings byPointer()
{
    const uint8_t bytes[] = {0xEE, static_cast<uint8_t>(word & 0xFF),
                             static_cast<uint8_t>(word >> 8), 0xEE};
    return decoded(decoder, static_cast<const void*>(bytes + 1));
}

#define BY_VALUE(decoder, value) #decoder, byValue < decoder, value>
#define BY_POINTER(decoder, word) #decoder, byPointer < decoder, word>

// One value per decoder: its label, and that it reads its own table.
const Case kCases[] = {
    {BY_VALUE(qvmAddSystemWakeupType, 6),
     {"d:System Wakeup Type:6", "s:Item:Power Switch"}},
    {BY_VALUE(qvmAddSystemWakeupType, 7),
     {"d:System Wakeup Type:7", "s:Item:PCI PME#"}},
    {BY_VALUE(qvmAddBaseBoardFeatureFlags, 9),
     {"d:Base Board Feature Flags:9", "x:Hosting board:1", "x:Replaceable:8"}},
    {BY_VALUE(qvmAddBaseBoardBoardType, 10),
     {"d:Base Board Board Type:10", "s:Item:Motherboard"}},
    {BY_VALUE(qvmAddSystemEnclosureStatus, 3),
     {"d:System Enclosure or Chassis Status:3", "s:Item:Safe"}},
    {BY_VALUE(qvmAddSESecurityStatus, 4),
     {"d:System Enclosure or Chassis Security Status:4",
      "s:Item:External interface locked out"}},
    {BY_VALUE(qvmAddProcessorType, 6),
     {"d:Processor Type:6", "s:Item:Video Processor "}},
    {BY_VALUE(qvmAddProcessorUpgrade, 56),
     {"d:Processor Upgrade:56", "s:Item:Socket SP3r2"}},
    {BY_VALUE(qvmAddProcessorCharacteristics, 0x84),
     {"d:Processor Characteristics:132", "x:64-bit Capable:4",
      "x:Power/Performance Control:80"}},
    {BY_VALUE(qvmAddMcErrorDetectMethod, 8),
     {"d:Memory Controller Error DetectMethod:8", "s:Item:CRC"}},
    {BY_VALUE(qvmAddMcErrorCorrectCapability, 0x21),
     {"d:Memory Controller Error Correct Capability:33", "x:Other:1",
      "x:Error Scrubbing:20"}},
    {BY_VALUE(qvmAddMcInterleaveSupport, 7),
     {"d:Memory Controller Interleave Support:7",
      "s:Item:Sixteen Way Interleave"}},
    {BY_POINTER(qvmAddMcMemorySpeeds, 0x001C),
     {"d:Memory Controller Memory Speed:28", "x:70ns:4", "x:60ns:8",
      "x:50ns:10"}},
    {BY_VALUE(qvmAddMemoryModuleVoltage, 6),
     {"d:Required voltages for each memory module sockets:6", "x:3.3V:2",
      "x:2.9V:4"}},
    {BY_POINTER(qvmAddMmMemoryType, 0x0400),
     {"d:Memory Module Memory Type:1024", "x:SDRAM:400"}},
    {BY_VALUE(qvmAddMmErrorStatus, 4),
     {"d:Memory Module Error Status:4",
      "x:Error Status obtained from the event log:4"}},
    {BY_POINTER(qvmAddCacheSRAMType, 0x0060),
     {"d:Cache SRAM Type:96", "x:Synchronous:20", "x:Asynchronous:40"}},
    {BY_POINTER(qvmAddCacheSupportedSRAMType, 0xFFFF),
     {"d:Supported SRAM Type:65535"}},
    {BY_VALUE(qvmAddCacheErrCorrectingType, 5),
     {"d:Cache Error Correcting Type:5", "s:Item:Single-bit ECC"}},
    {BY_VALUE(qvmAddCacheSystemCacheType, 5),
     {"d:Cache System Cache Type:5", "s:Item:Unified"}},
    {BY_VALUE(qvmAddCacheAssociativity, 14),
     {"d:Cache Associativity:14", "s:Item:20-way Set-Associative"}},
    {BY_VALUE(qvmAddPortConnectorType, 160),
     {"d:Port Connector Type:160", "s:Item:PC-98"}},
    {BY_VALUE(qvmAddPortType, 18), {"d:Port Type:18", "s:Item:PCMCIA Type I"}},
    {BY_VALUE(qvmAddPortType, 255), {"d:Port Type:255", "s:Item:Other "}},
    {BY_VALUE(qvmAddSystemSlotType, 182),
     {"d:System Slot Type:182", "s:Item:PCI Express Gen 3 X16"}},
    {BY_VALUE(qvmAddSystemSlotDataBusWidth, 14),
     {"d:System Slot Data Bus Width:14", "s:Item:32x or x32"}},
    {BY_VALUE(qvmAddSystemSlotCurrentUsage, 4),
     {"d:System Slot Current Usage:4", "s:Item:In use"}},
    {BY_VALUE(qvmAddSystemSlotLength, 4),
     {"d:System Slot Length:4", "s:Item:Long Length"}},
    {BY_VALUE(qvmAddSlotCharacteristics1, 0xC0),
     {"d:Slot characteristics 1:192", "x:PC Card slot supports Zoom Video :40",
      "x:PC Card slot supports Modem Ring Resume :80"}},
    {BY_VALUE(qvmAddSlotCharacteristics2, 1),
     {"d:Slot characteristics 2:1",
      "x:PCI slot supports Power Management Enable (PME#) signal:1"}},
    {BY_VALUE(qvmAddOnboardDeviceTypes, 10),
     {"d:Onboard Device Type:10", "s:Item:Sas Controller"}},
    {BY_VALUE(qvmAddSELTypes, 23),
     {"d:System Event Log Type:23", "s:Item:System boot"}},
    {BY_VALUE(qvmAddSELVarDataFormatType, 200),
     {"d:Event Log Variable Data Format Types:200", "s:Item:OEM assigned "}},
    {BY_VALUE(qvmAddPostResultsBitmapDw1, 0x80000001),
     {"d:POST Results Bitmap - First DWORD:2147483649",
      "x:Channel 2 Timer error :1",
      "x:Normally 0; available for OEM assignment :80000000"}},
    {BY_VALUE(qvmAddPostResultsBitmapDw2, 0x80),
     {"d:POST Results Bitmap - Second DWOR:128", "x:PCI Memory Conflict :80"}},
    {BY_VALUE(qvmAddPMALocation, 163),
     {"d:Physical Memory Array Location:163",
      "s:Item:PC-98/Local bus add-on card"}},
    {BY_VALUE(qvmAddPMAUse, 7),
     {"d:Physical Memory Array Use:7", "s:Item:Cache memory"}},
    {BY_VALUE(qvmAddPMAErrorCorrectionTypes, 7),
     {"d:Physical Memory Array Error Correction Types:7", "s:Item:CRC"}},
    {BY_VALUE(qvmAddMemoryDeviceFormFactor, 15),
     {"d:Memory Device - Form Factor:15", "s:Item:FB-DIMM"}},
    {BY_VALUE(qvmAddMemoryDeviceType, 26),
     {"d:Memory Device - Type:26", "s:Item:DDR4"}},
    {BY_VALUE(qvmAddMemoryDeviceType, 21), {"d:Memory Device - Type:21"}},
    {BY_POINTER(qvmAddMemoryDeviceTypeDetail, 0x4080),
     {"d:Memory Device - Type Detail:16512", "x:Synchronous:80",
      "x:Unbuffered(Unregistered):4000"}},
    {BY_VALUE(qvmAddMemoryErrorType, 14),
     {"d:32-bit Memory Error Information - Type:14",
      "s:Item:Uncorrectable error"}},
    {BY_VALUE(qvmAddMemoryErrorGranularity, 4),
     {"d:Memory Error - Error granularity:4", "s:Item:Memory partition level"}},
    {BY_VALUE(qvmAddMemoryErrorOperation, 5),
     {"d:Memory Error - Error Operation:5", "s:Item:Partial Write"}},
    {BY_VALUE(qvmAddPointingDeviceType, 7),
     {"d:Pointing Device - Type:7", "s:Item:Touch Pad"}},
    {BY_VALUE(qvmAddPointingDeviceInterface, 162),
     {"d:Pointing Device - Interface:162", "s:Item:USB"}},
    {BY_VALUE(qvmAddPBDeviceChemistry, 8),
     {"d:Portable Battery - Device Chemistry:8", "s:Item:Lithium Polymer "}},
    {BY_VALUE(qvmAddMDType, 13),
     {"d:Management Device Type:13", "s:Item:Holtek HT82H791 "}},
    {BY_VALUE(qvmAddMDAddressType, 5),
     {"d:Management Device - Address Type:5", "s:Item:SM Bus "}},
    {BY_VALUE(qvmAddMemoryChannelType, 4),
     {"d:Memory Channel Type:4", "s:Item:SyncLink "}},
    {BY_VALUE(qvmAddIPMIDIBMCInterfaceType, 3),
     {"d:BMC Interface Type:3", "s:Item:BT: Block Transfer "}},
    {BY_VALUE(qvmAddMCHostInterfaceType, 64),
     {"d:MC Host Interface Type:64", "s:Item:Network Host Interface "}},
    {BY_VALUE(qvmAddStructureTypeE1Info, 225),
     {"d:Structure Type:225", "s:Item:FQDD to SMBIOS Structure Mapping "}},
    {BY_VALUE(qvmAddStructureTypeE2Info, 226),
     {"d:Structure Type:226", "s:Item:Memory Device Extension "}},
    {BY_VALUE(qvmAddStructureTypeInfo, 43),
     {"d:Structure Type:43", "s:Item:TPM Device"}},
};

// The four sensor structures split one byte: status in bits 7:5, location
// or device type in bits 4:0. 0x67 is status 3, location 7; 0xF1 is status
// 7 (no row), location 17.
const Case kSplitByteCases[] = {
    {BY_VALUE(qvmAddVPStatus, 0x67),
     {"d:Voltage Probe - Status:3", "s:Item:OK "}},
    {BY_VALUE(qvmAddVPLocation, 0x67),
     {"d:Voltage Probe - Location:7", "s:Item:Motherboard "}},
    {BY_VALUE(qvmAddCoolingDeviceStatus, 0x67),
     {"d:Cooling Device - Status:3", "s:Item:OK "}},
    {BY_VALUE(qvmAddCoolingDeviceType, 0x67),
     {"d:Cooling Device - Type:7", "s:Item:Power Supply Fan "}},
    {BY_VALUE(qvmAddTemperatureProbeStatus, 0x67),
     {"d:Temperature Probe - Status:3", "s:Item:OK "}},
    {BY_VALUE(qvmAddTemperatureProbeLoc, 0x67),
     {"d:Temperature Probe - Location:7", "s:Item:Motherboard "}},
    {BY_VALUE(qvmAddECPStatus, 0x67),
     {"d:Electrical Current Probe - Status:3", "s:Item:OK "}},
    {BY_VALUE(qvmAddECPLoc, 0x67),
     {"d:Electrical Current Probe - Location:7", "s:Item:Motherboard "}},
    {BY_VALUE(qvmAddVPStatus, 0xF1), {"d:Voltage Probe - Status:7"}},
    {BY_VALUE(qvmAddVPLocation, 0xF1), {"d:Voltage Probe - Location:17"}},
    {BY_VALUE(qvmAddCoolingDeviceType, 0xF1),
     {"d:Cooling Device - Type:17", "s:Item:Passive Cooling "}},
};

void expectCases(const Case* begin, const Case* end)
{
    for (const Case* c = begin; c != end; ++c)
    {
        SCOPED_TRACE(c->what);
        EXPECT_THAT(c->run(), ElementsAreArray(c->expected));
    }
}

} // namespace

TEST(TableDecoders, EachDecoderUsesItsLabelAndItsTable)
{
    expectCases(std::begin(kCases), std::end(kCases));
}

TEST(TableDecoders, SensorDecodersTakeTheirOwnBitsOfTheSharedByte)
{
    expectCases(std::begin(kSplitByteCases), std::end(kSplitByteCases));
}

TEST(TableDecoders, UnknownValueGivesTheIntegerFieldAlone)
{
    EXPECT_THAT(decoded(qvmAddSystemWakeupType, 40U),
                ElementsAre("d:System Wakeup Type:40"));
    // Enumerations look up the low byte; the integer field keeps the value.
    EXPECT_THAT(decoded(qvmAddSystemWakeupType, 0x106U),
                ElementsAre("d:System Wakeup Type:262", "s:Item:Power Switch"));
}

TEST(TableDecoders, BitDecoderWithoutARowForTheSetBit)
{
    EXPECT_THAT(decoded(qvmAddProcessorCharacteristics, 1U),
                ElementsAre("d:Processor Characteristics:1"));
}

TEST(TableDecoders, NullListOrFieldAppendsNothing)
{
    qvmAddSystemWakeupType(6, nullptr);
    qvmAddSystemEnclosureType(0x97, nullptr);
    qvmAddSELSysManagementTypes(0x30, nullptr);
    const uint8_t word[] = {0xFF, 0xFF};
    qvmAddMcMemorySpeeds(word, nullptr);
    FieldCapture fields;
    qvmAddMcMemorySpeeds(nullptr, fields.list());
    qvmAddMmMemoryType(nullptr, fields.list());
    qvmAddCacheSRAMType(nullptr, fields.list());
    qvmAddCacheSupportedSRAMType(nullptr, fields.list());
    qvmAddMemoryDeviceTypeDetail(nullptr, fields.list());
    EXPECT_THAT(fields.strings(), IsEmpty());
}

TEST(SystemEnclosureType, LowSevenBitsAreTheTypeAndBitSevenTheLock)
{
    EXPECT_THAT(decoded(qvmAddSystemEnclosureType, 0x97U),
                ElementsAre("d:System Enclosure or Chassis Types:151",
                            "s:Item:Rack Mount Chassis",
                            "s:Chassis:Chassis Lock present"));
    EXPECT_THAT(decoded(qvmAddSystemEnclosureType, 0x10U),
                ElementsAre("d:System Enclosure or Chassis Types:16",
                            "s:Item:Lunch Box"));
    // A lock on a type without a text still says so.
    EXPECT_THAT(decoded(qvmAddSystemEnclosureType, 0xC0U),
                ElementsAre("d:System Enclosure or Chassis Types:192",
                            "s:Chassis:Chassis Lock present"));
}

TEST(SELSysManagementTypes, EachRangeOfTheDoubleWordHasItsNotice)
{
    const char* label = "d:System Management Types:";
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x30U),
                ElementsAre(std::string(label) + "48",
                            "s:Item:Chassis secure switch activated "));
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x21U),
                ElementsAre(std::string(label) + "33",
                            "s:Item:Fan n (n = 0 to 7) Out of range "));
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x31U),
                ElementsAre(std::string(label) + "49",
                            "s:Notice:Reserved for future assignment via this "
                            "specification"));
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x20000U),
                ElementsAre(std::string(label) + "131072",
                            "s:Notice:Reserved for future assignment via this "
                            "specification"));
    const Strings outOfRange = {
        std::string(label) + "65541",
        "s:Notice:A system-management probe or cooling device is "
        "out-of-range"};
    EXPECT_EQ(decoded(qvmAddSELSysManagementTypes, 0x10005U), outOfRange);
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x80000000U),
                ElementsAre(std::string(label) + "2147483648",
                            "s:Notice:OEM assigned"));
    // The OEM bit wins over the out-of-range block.
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0x80010005U),
                ElementsAre(std::string(label) + "2147549189",
                            "s:Notice:OEM assigned"));
    EXPECT_THAT(decoded(qvmAddSELSysManagementTypes, 0U),
                ElementsAre(std::string(label) + "0"));
}
