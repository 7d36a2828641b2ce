// Every value and bit table of the decoders, with its number of rows: the
// one list from which the tables are declared and, under the names the C
// interface gives them, exported.
#pragma once

// X(name, rows) for each table.
#define QVM_VALUE_TABLES(X)                                                    \
    X(SystemWakeupType, 9)                                                     \
    X(BaseBoardFeatureFlags, 5)                                                \
    X(BaseBoardBoardType, 13)                                                  \
    X(SystemEnclosureType, 36)                                                 \
    X(SystemEnclosureStatus, 6)                                                \
    X(SESecurityStatus, 5)                                                     \
    X(ProcessorType, 6)                                                        \
    X(ProcessorUpgrade, 56)                                                    \
    X(ProcessorCharacteristics, 7)                                             \
    X(McErrorDetectMethod, 8)                                                  \
    X(McErrorCorrectCapability, 6)                                             \
    X(McInterleaveSupport, 7)                                                  \
    X(McMemorySpeeds, 5)                                                       \
    X(MemoryModuleVoltage, 3)                                                  \
    X(MmMemoryType, 11)                                                        \
    X(MmErrorStatus, 3)                                                        \
    X(PMALocation, 14)                                                         \
    X(PMAUse, 7)                                                               \
    X(PMAErrorCorrectionTypes, 7)                                              \
    X(MemoryDeviceFormFactor, 15)                                              \
    X(MemoryDeviceType, 27)                                                    \
    X(MemoryDeviceTypeDetail, 14)                                              \
    X(MemoryErrorType, 14)                                                     \
    X(MemoryErrorGranularity, 4)                                               \
    X(MemoryErrorOperation, 5)                                                 \
    X(MemoryChannelType, 4)                                                    \
    X(CacheSRAMType, 7)                                                        \
    X(CacheErrCorrectingType, 6)                                               \
    X(CacheSystemCacheType, 5)                                                 \
    X(CacheAssociativity, 14)                                                  \
    X(PortConnectorType, 41)                                                   \
    X(PortType, 37)                                                            \
    X(SystemSlotType, 58)                                                      \
    X(SystemSlotDataBusWidth, 14)                                              \
    X(SystemSlotCurrentUsage, 4)                                               \
    X(SystemSlotLength, 4)                                                     \
    X(SlotCharacteristics1, 8)                                                 \
    X(SlotCharacteristics2, 3)                                                 \
    X(OnboardDeviceTypes, 10)                                                  \
    X(SELTypes, 27)                                                            \
    X(SELVarDataFormatType, 9)                                                 \
    X(PostResultsBitmapDw1, 32)                                                \
    X(PostResultsBitmapDw2, 32)                                                \
    X(SELSysManagementTypes, 16)                                               \
    X(PointingDeviceType, 7)                                                   \
    X(PointingDeviceInterface, 11)                                             \
    X(PBDeviceChemistry, 8)                                                    \
    X(VPStatus, 6)                                                             \
    X(VPLocation, 11)                                                          \
    X(CoolingDeviceStatus, 6)                                                  \
    X(CoolingDeviceType, 11)                                                   \
    X(TemperatureProbeStatus, 6)                                               \
    X(TemperatureProbeLoc, 11)                                                 \
    X(ECPStatus, 6)                                                            \
    X(ECPLoc, 11)                                                              \
    X(MDType, 13)                                                              \
    X(MDAddressType, 5)                                                        \
    X(IPMIDIBMCInterfaceType, 5)                                               \
    X(MCHostInterfaceType, 3)                                                  \
    X(StructureTypeInfo, 48)
