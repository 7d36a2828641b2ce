/*
 * libqvmclient: client library for the Quorvane manager, SMBIOS table
 * decoding, D-Bus inventory retrieval, tagged-field JSON building, event-log
 * records and helper programs on a BMC.
 *
 * Every function returns a status code (QVM_RC_*) unless noted. Heap strings
 * handed out are released with free(); json-c documents with
 * json_object_put(). The header is valid C99 and C++.
 */
#ifndef QVMCLIENT_H
#define QVMCLIENT_H

#include <stdint.h>
#include <stdio.h>

#include <json-c/json.h>
#include <systemd/sd-bus.h>

#if defined(__GNUC__)
#define QVM_API __attribute__((visibility("default")))
#define QVM_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QVM_API
#define QVM_PRINTF(fmt, args)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Status codes ------------------------------------------------------ */

#define QVM_RC_SUCCESS 0
#define QVM_RC_INVALID_TICKET 1
#define QVM_RC_PENDING 2
#define QVM_RC_INVALID_REQUEST 3
#define QVM_RC_BUFFER_TOO_SMALL 4
#define QVM_RC_NO_RESOURCES 5
#define QVM_RC_NOT_FOUND 6
#define QVM_RC_START_FAILURE 7
#define QVM_RC_TIMEOUT 8
#define QVM_RC_UNSUPPORTED 9
#define QVM_RC_FAILED (-1)

/* ---- Records ----------------------------------------------------------- */

/* Arguments of the Save request, sent as (uuuss). */
typedef struct SaveRecord {
    uint32_t value1;
    uint32_t value2;
    uint32_t value3;
    char text1[98];
    char text2[256];
} SaveRecord;

/* Arguments of the Collect and Export requests, sent as (ussssss).
 * kind 16 asks for the reply's number and text to be handed back. */
typedef struct CollectRecord {
    uint32_t kind;
    char text1[64];
    char text2[64];
    char text3[64];
    char text4[64];
    char text5[256];
    char text6[256];
} CollectRecord;

/* Ticket request, sent as (uuyyyyyysss). */
typedef struct TicketRequestRecord {
    uint32_t version;
    uint32_t magic;
    uint8_t op;
    uint8_t sub;
    uint8_t param1;
    uint8_t param2;
    uint8_t param3;
    uint8_t param4;
    char text1[9];
    char text2[17];
    char text3[256];
} TicketRequestRecord;

/* Ticket reply, received as (uuttyyyyyysss). */
typedef struct TicketReplyRecord {
    uint32_t value1;
    uint32_t value2;
    uint64_t value3;
    uint64_t value4;
    uint8_t byte1;
    uint8_t byte2;
    uint8_t byte3;
    uint8_t byte4;
    uint8_t byte5;
    uint8_t byte6;
    char text1[98];
    char text2[98];
    char text3[256];
} TicketReplyRecord;

/* Null-terminated array of heap strings; release each string and the array
 * with free(). */
typedef char **TicketList;

/* One field string ("tag:key:value") of a structure being decoded. */
typedef struct FieldNode {
    struct FieldNode *next;
    char *text;
} FieldNode;

/* Ordered list of field strings; an empty list is all zero. */
typedef struct FieldList {
    uint32_t count;
    FieldNode *head;
    FieldNode *tail;
} FieldList;

/* One row of a value-to-text or bit-to-text table. */
typedef struct ValueTextEntry {
    uint32_t code;
    const char *text;
} ValueTextEntry;

/* BIOS information of the loaded SMBIOS table (GetBiosInfo). */
typedef struct SmbiosBiosInfo {
    char *serial_number;
    char *bios_version;
    char *product_name;
    uint8_t major_release;
    uint8_t minor_release;
} SmbiosBiosInfo;

/* One entry of the FQDD map built from the type-225 structures. */
#pragma pack(push, 1)
typedef struct FqddMapEntry {
    uint8_t entry_byte0;
    uint16_t handle;
    uint8_t entry_byte3;
    uint8_t table_index;
} FqddMapEntry;
#pragma pack(pop)

/* ---- Status, texts, logging, version ------------------------------------ */

/* Heap copy of the library version text "1.01.00.00" in a 12-byte buffer. */
QVM_API int32_t QVM_GetLibraryVersion(char **version);
/* Heap copy of the text of a status code. */
QVM_API int32_t QVM_StrErr(int32_t code, char **text);
/* One syslog message under the given facility and priority. */
QVM_API void QVM_Logger(int facility, int priority, const char *format, ...)
    QVM_PRINTF(3, 4);
/* Debug line describing a manager status; always QVM_RC_SUCCESS. */
QVM_API int32_t QVM_rtn_decode(int64_t status);

/* ---- Manager requests --------------------------------------------------- */

QVM_API int32_t QVM_PackageRequest(const char *ticket, uint16_t number1,
                                   uint16_t number2);
QVM_API int32_t QVM_SaveRequest(const char *ticket, const char *text,
                                uint64_t value, const SaveRecord *record);
QVM_API int32_t QVM_CollectRequest(const char *ticket, char **text_out,
                                   const CollectRecord *record,
                                   uint16_t number1, uint16_t number2,
                                   uint64_t *value_out);
QVM_API int32_t QVM_ExportRequest(const char *ticket, char **text_out,
                                  const CollectRecord *record, uint16_t number,
                                  uint64_t *value_out);
QVM_API int32_t QVM_GetVersionRequest(char **version);
/* A reference to the calling thread's default bus; release with
 * sd_bus_unref(). Null when no bus could be had. */
QVM_API sd_bus *QVM_ConnectToBus(void);

/* ---- Ticket, signals, event log ----------------------------------------- */

QVM_API int32_t QVM_TicketRequest(const TicketRequestRecord *request,
                                  TicketReplyRecord *reply, char ***list);
QVM_API int32_t QVM_valid_ticket_check(const char *ticket);
QVM_API int32_t QVM_ClientSignalInit(const char *name,
                                     sd_bus_message_handler_t handler,
                                     sd_bus *bus);
QVM_API int32_t QVM_ClientSignalWait(sd_bus *bus);
QVM_API int32_t QVM_AddEventLog(const char *msgid, const char *types, ...);

/* ---- Field strings and JSON --------------------------------------------- */

QVM_API void AddJSONString(const char *value, const char *key,
                           FieldList *list);
QVM_API void AddJSONintValue(int64_t value, const char *key, FieldList *list);
QVM_API void DumpHex(uint32_t size, const uint8_t *data, FieldList *list);
QVM_API void MemToString(char *dst, const char *src, uint64_t n);
QVM_API int64_t qvmStrlCat(char *dst, const char *src, uint64_t size);
/* The JSON texts below (and so the SMBIOS export) are strict RFC 8259 JSON
 * in valid UTF-8 whatever bytes the field strings, names, documents or files
 * hold: each maximal ill-formed UTF-8 subsequence of a value, key or name is
 * written as U+FFFD, and a number that is not finite (NaN, Infinity, a
 * literal too large for a double) as null. Valid UTF-8 is written as it is. */
QVM_API int32_t make_a_json_string(int32_t count, char **strings,
                                   const char *name, char **out);
QVM_API int32_t QVM_FormatData(char **strings, int32_t count,
                               const char *name, char **out);
QVM_API int32_t readJSONdoc(const char *file, json_object **out);
QVM_API int32_t makeJSONstringFromDoc(json_object *doc, char **out);
QVM_API int32_t makeJSONstringFromDocWithTimeStamp(json_object *doc,
                                                   const char *name,
                                                   char **out);
QVM_API int32_t freeNestedJSONObjects(json_object *doc);
QVM_API int32_t getBIOSDataFromJSON(json_object *doc, json_object **out);

/* ---- SMBIOS table access ------------------------------------------------ */

QVM_API int64_t SmbiosInit(const char *path);
QVM_API void SmbiosCleanup(void);
QVM_API char *SmbiosGetString(uint8_t **slot, uint16_t number);
QVM_API int64_t SmbiosGetStructure(uint16_t *handle, uint8_t **structure,
                                   uint16_t *length);
QVM_API int64_t SmbiosGetStructureOfType(uint8_t type, uint8_t ***structures,
                                         uint16_t **lengths, uint16_t *count);
QVM_API int64_t GetBiosInfo(const char *key, SmbiosBiosInfo **info);
QVM_API unsigned int GetSmbiosMajorVersion(void);
QVM_API unsigned int GetSmbiosMinorVersion(void);
QVM_API int64_t GetServiceTag(const char *key, char **text);
QVM_API int64_t GetSystemName(const char *key, char **text);
QVM_API int64_t GetSystemDetails(const char *key, char **text);
QVM_API int64_t PopulateFqdds(void);
QVM_API FqddMapEntry *FindFqdd(uint32_t handle);
QVM_API int64_t SmBiosDataToJSON(const char *path);
QVM_API int64_t qvmSmbiosAddStructure(uint8_t **slot, uint32_t size,
                                      const char *path);

QVM_API extern uint8_t *gSMDataBuffer;
QVM_API extern uint8_t *m_SmbiosStruct;
QVM_API extern int64_t gSMTableLength;
QVM_API extern uint8_t SmbiosMajorVersion;
QVM_API extern uint8_t SmbiosMinorVersion;
QVM_API extern uint8_t MajorVersion;
QVM_API extern uint8_t MinorVersion;
QVM_API extern uint64_t NumberOfSmbiosStructures;
QVM_API extern uint8_t TypeE1Supported;
QVM_API extern uint8_t **g_E1table;
QVM_API extern uint16_t g_E1tableCount;
QVM_API extern FqddMapEntry *m_Fqdd;
QVM_API extern uint16_t m_countE1;

/* ---- SMBIOS decoders and their tables ------------------------------------ */

QVM_API uint32_t QueryTable(const ValueTextEntry *table, uint64_t count,
                            uint8_t value, const char **text_out);
QVM_API void AddBitsInfo(const ValueTextEntry *table, uint32_t count,
                         uint32_t bits, FieldList *list);

/* QVM_DECODERS_BEGIN */
/* Value-to-text and bit-to-text tables: in an enumeration table byte 0 of
 * the code is the value (or the first of a range) and byte 1 the last value
 * of a range or 0; in a bit table the code is the bit number. */
QVM_API extern const ValueTextEntry SystemWakeupTypeTable[9];
QVM_API extern const ValueTextEntry BaseBoardFeatureFlagsTable[5];
QVM_API extern const ValueTextEntry BaseBoardBoardTypeTable[13];
QVM_API extern const ValueTextEntry SystemEnclosureTypeTable[36];
QVM_API extern const ValueTextEntry SystemEnclosureStatusTable[6];
QVM_API extern const ValueTextEntry SESecurityStatusTable[5];
QVM_API extern const ValueTextEntry ProcessorTypeTable[6];
QVM_API extern const ValueTextEntry ProcessorUpgradeTable[56];
QVM_API extern const ValueTextEntry ProcessorCharacteristicsTable[7];
QVM_API extern const ValueTextEntry McErrorDetectMethodTable[8];
QVM_API extern const ValueTextEntry McErrorCorrectCapabilityTable[6];
QVM_API extern const ValueTextEntry McInterleaveSupportTable[7];
QVM_API extern const ValueTextEntry McMemorySpeedsTable[5];
QVM_API extern const ValueTextEntry MemoryModuleVoltageTable[3];
QVM_API extern const ValueTextEntry MmMemoryTypeTable[11];
QVM_API extern const ValueTextEntry MmErrorStatusTable[3];
QVM_API extern const ValueTextEntry PMALocationTable[14];
QVM_API extern const ValueTextEntry PMAUseTable[7];
QVM_API extern const ValueTextEntry PMAErrorCorrectionTypesTable[7];
QVM_API extern const ValueTextEntry MemoryDeviceFormFactorTable[15];
QVM_API extern const ValueTextEntry MemoryDeviceTypeTable[27];
QVM_API extern const ValueTextEntry MemoryDeviceTypeDetailTable[14];
QVM_API extern const ValueTextEntry MemoryErrorTypeTable[14];
QVM_API extern const ValueTextEntry MemoryErrorGranularityTable[4];
QVM_API extern const ValueTextEntry MemoryErrorOperationTable[5];
QVM_API extern const ValueTextEntry MemoryChannelTypeTable[4];
QVM_API extern const ValueTextEntry CacheSRAMTypeTable[7];
QVM_API extern const ValueTextEntry CacheErrCorrectingTypeTable[6];
QVM_API extern const ValueTextEntry CacheSystemCacheTypeTable[5];
QVM_API extern const ValueTextEntry CacheAssociativityTable[14];
QVM_API extern const ValueTextEntry PortConnectorTypeTable[41];
QVM_API extern const ValueTextEntry PortTypeTable[37];
QVM_API extern const ValueTextEntry SystemSlotTypeTable[58];
QVM_API extern const ValueTextEntry SystemSlotDataBusWidthTable[14];
QVM_API extern const ValueTextEntry SystemSlotCurrentUsageTable[4];
QVM_API extern const ValueTextEntry SystemSlotLengthTable[4];
QVM_API extern const ValueTextEntry SlotCharacteristics1Table[8];
QVM_API extern const ValueTextEntry SlotCharacteristics2Table[3];
QVM_API extern const ValueTextEntry OnboardDeviceTypesTable[10];
QVM_API extern const ValueTextEntry SELTypesTable[27];
QVM_API extern const ValueTextEntry SELVarDataFormatTypeTable[9];
QVM_API extern const ValueTextEntry PostResultsBitmapDw1Table[32];
QVM_API extern const ValueTextEntry PostResultsBitmapDw2Table[32];
QVM_API extern const ValueTextEntry SELSysManagementTypesTable[16];
QVM_API extern const ValueTextEntry PointingDeviceTypeTable[7];
QVM_API extern const ValueTextEntry PointingDeviceInterfaceTable[11];
QVM_API extern const ValueTextEntry PBDeviceChemistryTable[8];
QVM_API extern const ValueTextEntry VPStatusTable[6];
QVM_API extern const ValueTextEntry VPLocationTable[11];
QVM_API extern const ValueTextEntry CoolingDeviceStatusTable[6];
QVM_API extern const ValueTextEntry CoolingDeviceTypeTable[11];
QVM_API extern const ValueTextEntry TemperatureProbeStatusTable[6];
QVM_API extern const ValueTextEntry TemperatureProbeLocTable[11];
QVM_API extern const ValueTextEntry ECPStatusTable[6];
QVM_API extern const ValueTextEntry ECPLocTable[11];
QVM_API extern const ValueTextEntry MDTypeTable[13];
QVM_API extern const ValueTextEntry MDAddressTypeTable[5];
QVM_API extern const ValueTextEntry IPMIDIBMCInterfaceTypeTable[5];
QVM_API extern const ValueTextEntry MCHostInterfaceTypeTable[3];
QVM_API extern const ValueTextEntry StructureTypeInfoTable[48];

/* Table-driven decoders: each appends "d:<label>:<value>", then what the
 * value means ("s:Item:<text>", or "x:<text>:<weight>" per set bit). The
 * decoders of a word take a pointer to it in the structure (little-endian,
 * any alignment). */
QVM_API void qvmAddSystemWakeupType(uint32_t value, FieldList *list);
QVM_API void qvmAddBaseBoardFeatureFlags(uint32_t value, FieldList *list);
QVM_API void qvmAddBaseBoardBoardType(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemEnclosureType(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemEnclosureStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddSESecurityStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorType(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorUpgrade(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorCharacteristics(uint32_t value, FieldList *list);
QVM_API void qvmAddMcErrorDetectMethod(uint32_t value, FieldList *list);
QVM_API void qvmAddMcErrorCorrectCapability(uint32_t value, FieldList *list);
QVM_API void qvmAddMcInterleaveSupport(uint32_t value, FieldList *list);
QVM_API void qvmAddMcMemorySpeeds(const void *field, FieldList *list);
QVM_API void qvmAddMemoryModuleVoltage(uint32_t value, FieldList *list);
QVM_API void qvmAddMmMemoryType(const void *field, FieldList *list);
QVM_API void qvmAddMmErrorStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddCacheSRAMType(const void *field, FieldList *list);
QVM_API void qvmAddCacheSupportedSRAMType(const void *field, FieldList *list);
QVM_API void qvmAddCacheErrCorrectingType(uint32_t value, FieldList *list);
QVM_API void qvmAddCacheSystemCacheType(uint32_t value, FieldList *list);
QVM_API void qvmAddCacheAssociativity(uint32_t value, FieldList *list);
QVM_API void qvmAddPortConnectorType(uint32_t value, FieldList *list);
QVM_API void qvmAddPortType(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemSlotType(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemSlotDataBusWidth(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemSlotCurrentUsage(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemSlotLength(uint32_t value, FieldList *list);
QVM_API void qvmAddSlotCharacteristics1(uint32_t value, FieldList *list);
QVM_API void qvmAddSlotCharacteristics2(uint32_t value, FieldList *list);
QVM_API void qvmAddOnboardDeviceTypes(uint32_t value, FieldList *list);
QVM_API void qvmAddSELTypes(uint32_t value, FieldList *list);
QVM_API void qvmAddSELVarDataFormatType(uint32_t value, FieldList *list);
QVM_API void qvmAddPostResultsBitmapDw1(uint32_t value, FieldList *list);
QVM_API void qvmAddPostResultsBitmapDw2(uint32_t value, FieldList *list);
QVM_API void qvmAddSELSysManagementTypes(uint32_t value, FieldList *list);
QVM_API void qvmAddPMALocation(uint32_t value, FieldList *list);
QVM_API void qvmAddPMAUse(uint32_t value, FieldList *list);
QVM_API void qvmAddPMAErrorCorrectionTypes(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryDeviceFormFactor(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryDeviceType(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryDeviceTypeDetail(const void *field, FieldList *list);
QVM_API void qvmAddMemoryErrorType(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryErrorGranularity(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryErrorOperation(uint32_t value, FieldList *list);
QVM_API void qvmAddPointingDeviceType(uint32_t value, FieldList *list);
QVM_API void qvmAddPointingDeviceInterface(uint32_t value, FieldList *list);
QVM_API void qvmAddPBDeviceChemistry(uint32_t value, FieldList *list);
QVM_API void qvmAddVPStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddVPLocation(uint32_t value, FieldList *list);
QVM_API void qvmAddCoolingDeviceStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddCoolingDeviceType(uint32_t value, FieldList *list);
QVM_API void qvmAddTemperatureProbeStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddTemperatureProbeLoc(uint32_t value, FieldList *list);
QVM_API void qvmAddECPStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddECPLoc(uint32_t value, FieldList *list);
QVM_API void qvmAddMDType(uint32_t value, FieldList *list);
QVM_API void qvmAddMDAddressType(uint32_t value, FieldList *list);
QVM_API void qvmAddMemoryChannelType(uint32_t value, FieldList *list);
QVM_API void qvmAddIPMIDIBMCInterfaceType(uint32_t value, FieldList *list);
QVM_API void qvmAddMCHostInterfaceType(uint32_t value, FieldList *list);
QVM_API void qvmAddStructureTypeE1Info(uint32_t type, FieldList *list);

/* The type-225 and type-226 mappings name their structure type with E1 and
 * E2; the generic entry is for outside callers. All three decode alike. */
QVM_API void qvmAddStructureTypeInfo(uint32_t type, FieldList *list);
QVM_API void qvmAddStructureTypeE2Info(uint32_t type, FieldList *list);

/* BIOS Characteristics (pointer to the 8-byte little-endian field) and its
 * extension bytes; each set capability bit appends "s:<capability>:True".
 * Byte 2 is read according to the loaded table's SMBIOS version. */
QVM_API void qvmAddBiosCharacteristics(const void *field, FieldList *list);
QVM_API void qvmAddBiosCharacteristicsExt1(uint32_t value, FieldList *list);
QVM_API void qvmAddBiosCharacteristicsExt2(uint32_t value, FieldList *list);

/* Processor family (byte, or the word that a family byte of 0xFE refers
 * to), voltage and status bytes. */
QVM_API void qvmAddProcessorFamily(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorFamily2(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorVoltage(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorStatus(uint32_t value, FieldList *list);

/* Memory controller, memory module and cache fields: sizes are powers of
 * two; handles points to count little-endian handles (any alignment). */
QVM_API void qvmAddMaxMemoryModuleSize(uint32_t exponent, uint32_t slots,
                                       FieldList *list);
QVM_API void qvmAddMemoryModuleConfigHandles(const void *handles,
                                             uint32_t count, FieldList *list);
QVM_API void qvmAddMmBankConnections(uint32_t value, FieldList *list);
QVM_API void qvmAddMmMemorySize(uint32_t value, FieldList *list);
QVM_API void qvmAddCacheConfiguration(uint32_t value, FieldList *list);

/* Slot ID (its meaning depends on the slot type), boot status, battery
 * manufacture date, reset capabilities, hardware security, remote access
 * connections, power supply characteristics (pointer to the little-endian
 * word) and TPM characteristics (the 64-bit field as two halves). */
QVM_API void qvmAddSystemSlotId(uint32_t slot_id, uint32_t slot_type,
                                FieldList *list);
QVM_API void qvmAddSystemBootStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddSBDSManufactureDate(uint32_t value, FieldList *list);
QVM_API void qvmAddSystemResetCapabilities(uint32_t value, FieldList *list);
QVM_API void qvmAddHardwareSecuritySettings(uint32_t value, FieldList *list);
QVM_API void qvmAddOBRAConnections(uint32_t value, FieldList *list);
QVM_API void qvmAddSPSCharacteristics(const void *field, FieldList *list);
QVM_API void qvmAddTpmDeviceCharacteristics(uint32_t low, uint32_t high,
                                            FieldList *list);

/* System event log: the structure's access method, status and header-format
 * bytes, the log header, and the walk over length bytes of log records
 * (data points to the first record). */
QVM_API void qvmAddSELAccessMethod(uint32_t value, FieldList *list);
QVM_API void qvmAddSELLogStatus(uint32_t value, FieldList *list);
QVM_API void qvmAddSysEventLogHeaderFormat(uint32_t value, FieldList *list);
QVM_API void qvmAddSELLogHeaderLen(uint32_t value, FieldList *list);
QVM_API void qvmAddSysEventLogHeaderType1(const uint8_t *header,
                                          FieldList *list);
QVM_API void qvmAddSysEventLogHeader(uint32_t format, const uint8_t *header,
                                     FieldList *list);
QVM_API void qvmAddElVdfInfo(uint32_t format, const uint8_t *data,
                             FieldList *list);
QVM_API void qvmAddSysEventLogData(const uint8_t *data, uint32_t length,
                                   FieldList *list);
/* QVM_DECODERS_END */

/* ---- D-Bus inventory to JSON --------------------------------------------- */

QVM_API int32_t make_JSON_object_from_GetAllReply(sd_bus_message *reply,
                                                  json_object **out);
QVM_API int32_t make_JSON_object_from_GetSubTreeReply(sd_bus_message *reply,
                                                      json_object **out);
QVM_API int32_t retrieveSystemObjectProperties(sd_bus *bus, json_object **out);
QVM_API int32_t get_object_lists(sd_bus *bus, json_object **out);
QVM_API int32_t get_properties_from_node(sd_bus *bus, const char *service,
                                         const char *path,
                                         const char *interface,
                                         json_object **out);
QVM_API int32_t get_property_from_invd(sd_bus *bus, const char *name,
                                       char **out);
QVM_API int32_t make_object_from_servicename(const char *name, char **out);

/* ---- Helper programs ----------------------------------------------------- */

/* The fixed environment every child starts with (null-terminated). */
QVM_API extern char *envp[5];

QVM_API int32_t QVM_system_call_wait(const char *path, char *const argv[]);
QVM_API int32_t QVM_system_call_timeout(const char *path, char *const argv[],
                                        int32_t seconds);
QVM_API int32_t QVM_system_call_wait_stdin(FILE *input, const char *path,
                                           char *const argv[]);

#ifdef __cplusplus
}
#endif

#endif /* QVMCLIENT_H */
