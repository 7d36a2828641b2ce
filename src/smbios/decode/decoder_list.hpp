// Every field decoder, once: its name, its arguments and its parameters
// (the sink comes last). The decoders are declared from this list, and the
// C interface wraps each of them from it.
#pragma once

// clang-format off
#define QVM_FIELD_DECODERS(X) \
    X(SystemWakeupType, (value), uint32_t value) \
    X(BaseBoardFeatureFlags, (value), uint32_t value) \
    X(BaseBoardBoardType, (value), uint32_t value) \
    X(SystemEnclosureType, (value), uint32_t value) \
    X(SystemEnclosureStatus, (value), uint32_t value) \
    X(SESecurityStatus, (value), uint32_t value) \
    X(ProcessorType, (value), uint32_t value) \
    X(ProcessorUpgrade, (value), uint32_t value) \
    X(ProcessorCharacteristics, (value), uint32_t value) \
    X(McErrorDetectMethod, (value), uint32_t value) \
    X(McErrorCorrectCapability, (value), uint32_t value) \
    X(McInterleaveSupport, (value), uint32_t value) \
    X(McMemorySpeeds, (field), const void* field) \
    X(MemoryModuleVoltage, (value), uint32_t value) \
    X(MmMemoryType, (field), const void* field) \
    X(MmErrorStatus, (value), uint32_t value) \
    X(CacheSRAMType, (field), const void* field) \
    X(CacheSupportedSRAMType, (field), const void* field) \
    X(CacheErrCorrectingType, (value), uint32_t value) \
    X(CacheSystemCacheType, (value), uint32_t value) \
    X(CacheAssociativity, (value), uint32_t value) \
    X(PortConnectorType, (value), uint32_t value) \
    X(PortType, (value), uint32_t value) \
    X(SystemSlotType, (value), uint32_t value) \
    X(SystemSlotDataBusWidth, (value), uint32_t value) \
    X(SystemSlotCurrentUsage, (value), uint32_t value) \
    X(SystemSlotLength, (value), uint32_t value) \
    X(SlotCharacteristics1, (value), uint32_t value) \
    X(SlotCharacteristics2, (value), uint32_t value) \
    X(OnboardDeviceTypes, (value), uint32_t value) \
    X(SELTypes, (value), uint32_t value) \
    X(SELVarDataFormatType, (value), uint32_t value) \
    X(PostResultsBitmapDw1, (value), uint32_t value) \
    X(PostResultsBitmapDw2, (value), uint32_t value) \
    X(SELSysManagementTypes, (value), uint32_t value) \
    X(PMALocation, (value), uint32_t value) \
    X(PMAUse, (value), uint32_t value) \
    X(PMAErrorCorrectionTypes, (value), uint32_t value) \
    X(MemoryDeviceFormFactor, (value), uint32_t value) \
    X(MemoryDeviceType, (value), uint32_t value) \
    X(MemoryDeviceTypeDetail, (field), const void* field) \
    X(MemoryErrorType, (value), uint32_t value) \
    X(MemoryErrorGranularity, (value), uint32_t value) \
    X(MemoryErrorOperation, (value), uint32_t value) \
    X(PointingDeviceType, (value), uint32_t value) \
    X(PointingDeviceInterface, (value), uint32_t value) \
    X(PBDeviceChemistry, (value), uint32_t value) \
    X(VPStatus, (value), uint32_t value) \
    X(VPLocation, (value), uint32_t value) \
    X(CoolingDeviceStatus, (value), uint32_t value) \
    X(CoolingDeviceType, (value), uint32_t value) \
    X(TemperatureProbeStatus, (value), uint32_t value) \
    X(TemperatureProbeLoc, (value), uint32_t value) \
    X(ECPStatus, (value), uint32_t value) \
    X(ECPLoc, (value), uint32_t value) \
    X(MDType, (value), uint32_t value) \
    X(MDAddressType, (value), uint32_t value) \
    X(MemoryChannelType, (value), uint32_t value) \
    X(IPMIDIBMCInterfaceType, (value), uint32_t value) \
    X(MCHostInterfaceType, (value), uint32_t value) \
    X(StructureTypeE1Info, (type), uint32_t type) \
    X(BiosCharacteristics, (field), const void* field) \
    X(BiosCharacteristicsExt1, (value), uint32_t value) \
    X(ProcessorFamily, (value), uint32_t value) \
    X(ProcessorFamily2, (value), uint32_t value) \
    X(ProcessorVoltage, (value), uint32_t value) \
    X(ProcessorStatus, (value), uint32_t value) \
    X(MaxMemoryModuleSize, (exponent, slots), uint32_t exponent, uint32_t slots) \
    X(MemoryModuleConfigHandles, (handles, count), const void* handles, uint32_t count) \
    X(MmBankConnections, (value), uint32_t value) \
    X(MmMemorySize, (value), uint32_t value) \
    X(CacheConfiguration, (value), uint32_t value) \
    X(SystemSlotId, (slot_id, slot_type), uint32_t slot_id, uint32_t slot_type) \
    X(SystemBootStatus, (value), uint32_t value) \
    X(SBDSManufactureDate, (value), uint32_t value) \
    X(SystemResetCapabilities, (value), uint32_t value) \
    X(HardwareSecuritySettings, (value), uint32_t value) \
    X(OBRAConnections, (value), uint32_t value) \
    X(SPSCharacteristics, (field), const void* field) \
    X(TpmDeviceCharacteristics, (low, high), uint32_t low, uint32_t high) \
    X(SELAccessMethod, (value), uint32_t value) \
    X(SELLogStatus, (value), uint32_t value) \
    X(SysEventLogHeaderFormat, (value), uint32_t value) \
    X(SELLogHeaderLen, (value), uint32_t value) \
    X(SysEventLogHeaderType1, (header), const uint8_t* header) \
    X(SysEventLogHeader, (format, header), uint32_t format, const uint8_t* header) \
    X(ElVdfInfo, (format, data), uint32_t format, const uint8_t* data) \
    X(SysEventLogData, (data, length), const uint8_t* data, uint32_t length)
// clang-format on
