// The table-driven decoders. Almost every one is a row: its label, its
// table, what the table means and which bits of the argument it reports.
// The few with a rule of their own follow the rows.
#include "smbios/decode/field_emit.hpp"
#include "smbios/decode/table_decoder.hpp"
#include "smbios/decode/value_tables.hpp"
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
QVM_VALUE_DECODER(SystemWakeupType, "System Wakeup Type", tables::SystemWakeupType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(BaseBoardFeatureFlags, "Base Board Feature Flags", tables::BaseBoardFeatureFlags, Bits, kWholeValue)
QVM_VALUE_DECODER(BaseBoardBoardType, "Base Board Board Type", tables::BaseBoardBoardType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemEnclosureStatus, "System Enclosure or Chassis Status", tables::SystemEnclosureStatus, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SESecurityStatus, "System Enclosure or Chassis Security Status", tables::SESecurityStatus, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorType, "Processor Type", tables::ProcessorType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorUpgrade, "Processor Upgrade", tables::ProcessorUpgrade, Enumeration, kWholeValue)
QVM_VALUE_DECODER(ProcessorCharacteristics, "Processor Characteristics", tables::ProcessorCharacteristics, Bits, kWholeValue)
QVM_VALUE_DECODER(McErrorDetectMethod, "Memory Controller Error DetectMethod", tables::McErrorDetectMethod, Enumeration, kWholeValue)
QVM_VALUE_DECODER(McErrorCorrectCapability, "Memory Controller Error Correct Capability", tables::McErrorCorrectCapability, Bits, kWholeValue)
QVM_VALUE_DECODER(McInterleaveSupport, "Memory Controller Interleave Support", tables::McInterleaveSupport, Enumeration, kWholeValue)
QVM_WORD_DECODER(McMemorySpeeds, "Memory Controller Memory Speed", tables::McMemorySpeeds, Bits)
QVM_VALUE_DECODER(MemoryModuleVoltage, "Required voltages for each memory module sockets", tables::MemoryModuleVoltage, Bits, kWholeValue)
QVM_WORD_DECODER(MmMemoryType, "Memory Module Memory Type", tables::MmMemoryType, Bits)
QVM_VALUE_DECODER(MmErrorStatus, "Memory Module Error Status", tables::MmErrorStatus, Bits, kWholeValue)
QVM_WORD_DECODER(CacheSRAMType, "Cache SRAM Type", tables::CacheSRAMType, Bits)
QVM_WORD_DECODER(CacheSupportedSRAMType, "Supported SRAM Type", Table{}, None)
QVM_VALUE_DECODER(CacheErrCorrectingType, "Cache Error Correcting Type", tables::CacheErrCorrectingType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(CacheSystemCacheType, "Cache System Cache Type", tables::CacheSystemCacheType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(CacheAssociativity, "Cache Associativity", tables::CacheAssociativity, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PortConnectorType, "Port Connector Type", tables::PortConnectorType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PortType, "Port Type", tables::PortType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotType, "System Slot Type", tables::SystemSlotType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotDataBusWidth, "System Slot Data Bus Width", tables::SystemSlotDataBusWidth, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotCurrentUsage, "System Slot Current Usage", tables::SystemSlotCurrentUsage, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SystemSlotLength, "System Slot Length", tables::SystemSlotLength, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SlotCharacteristics1, "Slot characteristics 1", tables::SlotCharacteristics1, Bits, kWholeValue)
QVM_VALUE_DECODER(SlotCharacteristics2, "Slot characteristics 2", tables::SlotCharacteristics2, Bits, kWholeValue)
QVM_VALUE_DECODER(OnboardDeviceTypes, "Onboard Device Type", tables::OnboardDeviceTypes, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SELTypes, "System Event Log Type", tables::SELTypes, Enumeration, kWholeValue)
QVM_VALUE_DECODER(SELVarDataFormatType, "Event Log Variable Data Format Types", tables::SELVarDataFormatType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PostResultsBitmapDw1, "POST Results Bitmap - First DWORD", tables::PostResultsBitmapDw1, Bits, kWholeValue)
QVM_VALUE_DECODER(PostResultsBitmapDw2, "POST Results Bitmap - Second DWOR", tables::PostResultsBitmapDw2, Bits, kWholeValue)
QVM_VALUE_DECODER(PMALocation, "Physical Memory Array Location", tables::PMALocation, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PMAUse, "Physical Memory Array Use", tables::PMAUse, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PMAErrorCorrectionTypes, "Physical Memory Array Error Correction Types", tables::PMAErrorCorrectionTypes, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryDeviceFormFactor, "Memory Device - Form Factor", tables::MemoryDeviceFormFactor, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryDeviceType, "Memory Device - Type", tables::MemoryDeviceType, Enumeration, kWholeValue)
QVM_WORD_DECODER(MemoryDeviceTypeDetail, "Memory Device - Type Detail", tables::MemoryDeviceTypeDetail, Bits)
QVM_VALUE_DECODER(MemoryErrorType, "32-bit Memory Error Information - Type", tables::MemoryErrorType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryErrorGranularity, "Memory Error - Error granularity", tables::MemoryErrorGranularity, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryErrorOperation, "Memory Error - Error Operation", tables::MemoryErrorOperation, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PointingDeviceType, "Pointing Device - Type", tables::PointingDeviceType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PointingDeviceInterface, "Pointing Device - Interface", tables::PointingDeviceInterface, Enumeration, kWholeValue)
QVM_VALUE_DECODER(PBDeviceChemistry, "Portable Battery - Device Chemistry", tables::PBDeviceChemistry, Enumeration, kWholeValue)
QVM_VALUE_DECODER(VPStatus, "Voltage Probe - Status", tables::VPStatus, Enumeration, kStatusBits)
QVM_VALUE_DECODER(VPLocation, "Voltage Probe - Location", tables::VPLocation, Enumeration, kLocationBits)
QVM_VALUE_DECODER(CoolingDeviceStatus, "Cooling Device - Status", tables::CoolingDeviceStatus, Enumeration, kStatusBits)
QVM_VALUE_DECODER(CoolingDeviceType, "Cooling Device - Type", tables::CoolingDeviceType, Enumeration, kLocationBits)
QVM_VALUE_DECODER(TemperatureProbeStatus, "Temperature Probe - Status", tables::TemperatureProbeStatus, Enumeration, kStatusBits)
QVM_VALUE_DECODER(TemperatureProbeLoc, "Temperature Probe - Location", tables::TemperatureProbeLoc, Enumeration, kLocationBits)
QVM_VALUE_DECODER(ECPStatus, "Electrical Current Probe - Status", tables::ECPStatus, Enumeration, kStatusBits)
QVM_VALUE_DECODER(ECPLoc, "Electrical Current Probe - Location", tables::ECPLoc, Enumeration, kLocationBits)
QVM_VALUE_DECODER(MDType, "Management Device Type", tables::MDType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MDAddressType, "Management Device - Address Type", tables::MDAddressType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MemoryChannelType, "Memory Channel Type", tables::MemoryChannelType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(IPMIDIBMCInterfaceType, "BMC Interface Type", tables::IPMIDIBMCInterfaceType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(MCHostInterfaceType, "MC Host Interface Type", tables::MCHostInterfaceType, Enumeration, kWholeValue)
QVM_VALUE_DECODER(StructureTypeE1Info, "Structure Type", tables::StructureTypeInfo, Enumeration, kWholeValue)
// clang-format on

// The chassis type byte: bits 6:0 are the type, bit 7 says a lock is there.
void addSystemEnclosureType(uint32_t value, FieldSink& out)
{
    appendInteger("System Enclosure or Chassis Types", value, out);
    appendItem(tables::SystemEnclosureType, value & 0x7F, out);
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
        appendItem(tables::SELSysManagementTypes, value, out);
    else
        appendNotice("Reserved for future assignment via this specification",
                     out);
}

} // namespace qvm::decode
