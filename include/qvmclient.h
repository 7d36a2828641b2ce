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
