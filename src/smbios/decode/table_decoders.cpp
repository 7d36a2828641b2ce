// The table-driven decoders. Almost every one is a row: its label, its
// table, what the table means and which bits of the argument it reports.
// The few with a rule of their own follow the rows.
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/table_decoder.hpp"
#include "smbios/little_endian.hpp"

namespace qvm::decode
{

void decode(const TableDecoder& decoder, uint32_t value, FieldSink& out)
{
    const uint32_t field = decoder.field(value);
    appendInteger(decoder.label, field, out);
    switch (decoder.meaning)
    {
        case Meaning::Enumeration:
            appendItem(decoder.table, field, out);
            break;
        case Meaning::Bits:
            appendBits(decoder.table, field, out);
            break;
        case Meaning::None:
            break;
    }
}

// A decoder of a byte, word or double word passed by value.
#define QVM_VALUE_DECODER(field, label, table, meaning, bits)                  \
    void add##field(uint32_t value, FieldSink& out)                            \
    {                                                                          \
        static constexpr TableDecoder decoder{label, table, Meaning::meaning,  \
                                              bits};                           \
        decode(decoder, value, out);                                           \
    }

// A decoder of a little-endian word read through a pointer into the
// structure.
#define QVM_WORD_DECODER(field, label, table, meaning)                         \
    void add##field(const void* word, FieldSink& out)                          \
    {                                                                          \
        static constexpr TableDecoder decoder{label, table, Meaning::meaning,  \
                                              kWholeValue};                    \
        if (word != nullptr)                                                   \
            decode(decoder, readLe16(word), out);                              \
    }

// clang-format off
QVM_VALUE_DECODER(SystemWakeupType, "System Wakeup Type", SystemWakeupTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(BaseBoardFeatureFlags, "Base Board Feature Flags", BaseBoardFeatureFlagsTable, Bits, kWholeValue)
QVM_VALUE_DECODER(BaseBoardBoardType, "Base Board Board Type", BaseBoardBoardTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemEnclosureStatus, "System Enclosure or Chassis Status", SystemEnclosureStatusTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SESecurityStatus, "System Enclosure or Chassis Security Status", SESecurityStatusTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorType, "Processor Type", ProcessorTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorUpgrade, "Processor Upgrade", ProcessorUpgradeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorCharacteristics, "Processor Characteristics", ProcessorCharacteristicsTable, Bits, kWholeValue)
QVM_VALUE_DECODER(McErrorDetectMethod, "Memory Controller Error DetectMethod", McErrorDetectMethodTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(McErrorCorrectCapability, "Memory Controller Error Correct Capability", McErrorCorrectCapabilityTable, Bits, kWholeValue)
QVM_VALUE_DECODER(McInterleaveSupport, "Memory Controller Interleave Support", McInterleaveSupportTable, Enumeration, kWholeValue)
QVM_WORD_DECODER(McMemorySpeeds, "Memory Controller Memory Speed", McMemorySpeedsTable, Bits)
QVM_VALUE_DECODER(MemoryModuleVoltage, "Required voltages for each memory module sockets", MemoryModuleVoltageTable, Bits, kWholeValue)
QVM_WORD_DECODER(MmMemoryType, "Memory Module Memory Type", MmMemoryTypeTable, Bits)
QVM_VALUE_DECODER(MmErrorStatus, "Memory Module Error Status", MmErrorStatusTable, Bits, kWholeValue)
QVM_WORD_DECODER(CacheSRAMType, "Cache SRAM Type", CacheSRAMTypeTable, Bits)
QVM_WORD_DECODER(CacheSupportedSRAMType, "Supported SRAM Type", Table{}, None)
QVM_VALUE_DECODER(CacheErrCorrectingType, "Cache Error Correcting Type", CacheErrCorrectingTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(CacheSystemCacheType, "Cache System Cache Type", CacheSystemCacheTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(CacheAssociativity, "Cache Associativity", CacheAssociativityTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PortConnectorType, "Port Connector Type", PortConnectorTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PortType, "Port Type", PortTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotType, "System Slot Type", SystemSlotTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotDataBusWidth, "System Slot Data Bus Width", SystemSlotDataBusWidthTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotCurrentUsage, "System Slot Current Usage", SystemSlotCurrentUsageTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotLength, "System Slot Length", SystemSlotLengthTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SlotCharacteristics1, "Slot characteristics 1", SlotCharacteristics1Table, Bits, kWholeValue)
QVM_VALUE_DECODER(SlotCharacteristics2, "Slot characteristics 2", SlotCharacteristics2Table, Bits, kWholeValue)
QVM_VALUE_DECODER(OnboardDeviceTypes, "Onboard Device Type", OnboardDeviceTypesTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SELTypes, "System Event Log Type", SELTypesTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SELVarDataFormatType, "Event Log Variable Data Format Types", SELVarDataFormatTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PostResultsBitmapDw1, "POST Results Bitmap - First DWORD", PostResultsBitmapDw1Table, Bits, kWholeValue)
QVM_VALUE_DECODER(PostResultsBitmapDw2, "POST Results Bitmap - Second DWOR", PostResultsBitmapDw2Table, Bits, kWholeValue)
QVM_VALUE_DECODER(PMALocation, "Physical Memory Array Location", PMALocationTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PMAUse, "Physical Memory Array Use", PMAUseTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PMAErrorCorrectionTypes, "Physical Memory Array Error Correction Types", PMAErrorCorrectionTypesTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryDeviceFormFactor, "Memory Device - Form Factor", MemoryDeviceFormFactorTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryDeviceType, "Memory Device - Type", MemoryDeviceTypeTable, Enumeration, kWholeValue)
QVM_WORD_DECODER(MemoryDeviceTypeDetail, "Memory Device - Type Detail", MemoryDeviceTypeDetailTable, Bits)
QVM_VALUE_DECODER(MemoryErrorType, "32-bit Memory Error Information - Type", MemoryErrorTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryErrorGranularity, "Memory Error - Error granularity", MemoryErrorGranularityTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryErrorOperation, "Memory Error - Error Operation", MemoryErrorOperationTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PointingDeviceType, "Pointing Device - Type", PointingDeviceTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PointingDeviceInterface, "Pointing Device - Interface", PointingDeviceInterfaceTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PBDeviceChemistry, "Portable Battery - Device Chemistry", PBDeviceChemistryTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(VPStatus, "Voltage Probe - Status", VPStatusTable, Enumeration, kStatusBits)
QVM_VALUE_DECODER(VPLocation, "Voltage Probe - Location", VPLocationTable, Enumeration, kLocationBits)
QVM_VALUE_DECODER(CoolingDeviceStatus, "Cooling Device - Status", CoolingDeviceStatusTable, Enumeration, kStatusBits)
QVM_VALUE_DECODER(CoolingDeviceType, "Cooling Device - Type", CoolingDeviceTypeTable, Enumeration, kLocationBits)
QVM_VALUE_DECODER(TemperatureProbeStatus, "Temperature Probe - Status", TemperatureProbeStatusTable, Enumeration, kStatusBits)
QVM_VALUE_DECODER(TemperatureProbeLoc, "Temperature Probe - Location", TemperatureProbeLocTable, Enumeration, kLocationBits)
QVM_VALUE_DECODER(ECPStatus, "Electrical Current Probe - Status", ECPStatusTable, Enumeration, kStatusBits)
QVM_VALUE_DECODER(ECPLoc, "Electrical Current Probe - Location", ECPLocTable, Enumeration, kLocationBits)
QVM_VALUE_DECODER(MDType, "Management Device Type", MDTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MDAddressType, "Management Device - Address Type", MDAddressTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryChannelType, "Memory Channel Type", MemoryChannelTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(IPMIDIBMCInterfaceType, "BMC Interface Type", IPMIDIBMCInterfaceTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MCHostInterfaceType, "MC Host Interface Type", MCHostInterfaceTypeTable, Enumeration, kWholeValue)
QVM_VALUE_DECODER(StructureTypeE1Info, "Structure Type", StructureTypeInfoTable, Enumeration, kWholeValue)
// clang-format on

// The chassis type byte: bits 6:0 are the type, bit 7 says a lock is there.
void addSystemEnclosureType(uint32_t value, FieldSink& out)
{
    appendInteger("System Enclosure or Chassis Types", value, out);
    appendItem(SystemEnclosureTypeTable, value & 0x7F, out);
    if ((value & 0x80) != 0)
        out.text("Chassis", "Chassis Lock present");
}

// The system-management type of an event-log record is a double word; only
// its low values are enumerated, the rest is split into assigned ranges.
void addSELSysManagementTypes(uint32_t value, FieldSink& out)
{
    appendInteger("System Management Types", value, out);
    if ((value & 0x80000000U) != 0)
        appendNotice("OEM assigned", out);
    else if (value >= 0x10000 && value <= 0x1FFFF)
        appendNotice(
            "A system-management probe or cooling device is out-of-range", out);
    else if (value <= 48)
        appendItem(SELSysManagementTypesTable, value, out);
    else
        appendNotice("Reserved for future assignment via this specification",
                     out);
}

} // namespace qvm::decode
