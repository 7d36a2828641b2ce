/**
 * @file qvmclient.h
 * libqvmclient: client library for the Quorvane manager, SMBIOS table
 * decoding, D-Bus inventory retrieval, tagged-field JSON building, event-log
 * records and helper programs on a BMC. The header is valid C99 and C++.
 *
 * Every function returns a status code (QVM_RC_*) unless noted, and writes
 * its out-parameters only on success unless noted. Heap strings and arrays
 * handed out are released with free(); json-c documents with
 * json_object_put(). Bus connections passed in, or obtained from
 * QVM_ConnectToBus(), stay the caller's.
 *
 * Threads: the library starts no thread and takes no lock; each call runs
 * on, and may block, the caller's thread. These may run on several threads
 * at once: manager requests and event-log records (each on its thread's own
 * default bus), the JSON helpers, decoders and helper programs, so long as
 * no FieldList, json-c document or bus connection is used by two threads at
 * once; time stamps share ctime()'s static buffer. Process-wide and
 * unguarded are the loaded SMBIOS table with its version pair (SmbiosInit(),
 * SmbiosCleanup()) and the FQDD map (PopulateFqdds()): any number of threads
 * may read them, but none while another loads, releases or rebuilds them.
 * QVM_Logger() opens and closes the process's syslog connection around
 * every message.
 */
#ifndef QVMCLIENT_H
#define QVMCLIENT_H

#include <stdint.h>
#include <stdio.h>

#include <json-c/json.h>
#include <systemd/sd-bus.h>

/** @cond */
#if defined(__GNUC__)
#define QVM_API __attribute__((visibility("default")))
#define QVM_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define QVM_API
#define QVM_PRINTF(fmt, args)
#endif
/** @endcond */

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Status codes ------------------------------------------------------ */

/* int32_t results, except int64_t in the SMBIOS functions; the manager
 * requests also pass on whatever status the manager answered with. */

/** Success. QVM_StrErr() gives it no text of its own ("Unknown error"). */
#define QVM_RC_SUCCESS 0
/** A ticket text without the ticket form, or the manager's answer. */
#define QVM_RC_INVALID_TICKET 1
/** Only from the manager: the operation goes on in the background. */
#define QVM_RC_PENDING 2
/** A required pointer is null, or a key or request record is invalid. */
#define QVM_RC_INVALID_REQUEST 3
/** Only from the manager. */
#define QVM_RC_BUFFER_TOO_SMALL 4
/** A heap allocation failed. */
#define QVM_RC_NO_RESOURCES 5
/** What was looked for is not there: table, structure, key or value. */
#define QVM_RC_NOT_FOUND 6
/** Only from the manager: the operation could not be started. */
#define QVM_RC_START_FAILURE 7
/** Only from the manager. */
#define QVM_RC_TIMEOUT 8
/** Only from the manager. */
#define QVM_RC_UNSUPPORTED 9
/** A bus operation, file operation or system call failed (in the SMBIOS
 * functions' int64_t results too, with all 64 bits set). */
#define QVM_RC_FAILED (-1)

/* ---- Records ----------------------------------------------------------- */

/* Each record states its layout: size and member offsets in bytes, the same
 * on every target or as 32-bit targets (the BMC's ARM) lay it out. */

/** Arguments of the Save request, sent as (uuuss). The manager gives the
 * fields their meaning; texts must be zero-terminated within their arrays.
 * Layout on every target: 368 bytes; value1 at 0, value2 at 4, value3 at 8,
 * text1 at 12, text2 at 110. */
typedef struct SaveRecord {
    /** @{ */
    /** Sent to the manager as they are. */
    uint32_t value1;
    uint32_t value2;
    uint32_t value3;
    char text1[98];
    char text2[256];
    /** @} */
} SaveRecord;

/** Arguments of the Collect and Export requests, sent as (ussssss).
 * Layout on every target: 772 bytes; kind at 0, text1 at 4, text2 at 68,
 * text3 at 132, text4 at 196, text5 at 260, text6 at 516. */
typedef struct CollectRecord {
    /** 16 asks for the reply's number and text to be handed back. */
    uint32_t kind;
    /** @{ */
    /** Sent to the manager as they are; zero-terminated. */
    char text1[64];
    char text2[64];
    char text3[64];
    char text4[64];
    char text5[256];
    char text6[256];
    /** @} */
} CollectRecord;

/** Ticket request, sent as (uuyyyyyysss) after QVM_TicketRequest() has
 * checked it. Layout on every target: 296 bytes; version at 0, magic at 4,
 * op at 8, sub at 9, param1 at 10, param2 at 11, param3 at 12, param4 at 13,
 * text1 at 14, text2 at 23, text3 at 40. */
typedef struct TicketRequestRecord {
    /** @{ */
    /** Must be 1 and 0x6E496B74 ("tkIn" in memory). */
    uint32_t version;
    uint32_t magic;
    /** @} */
    /** @{ */
    /** The operation; only known pairs are sent, some with bounds on the
     * parameters. */
    uint8_t op;
    uint8_t sub;
    /** @} */
    /** @{ */
    /** Parameters and texts; the operation decides which texts are sent. */
    uint8_t param1;
    uint8_t param2;
    uint8_t param3;
    uint8_t param4;
    char text1[9];
    char text2[17];
    char text3[256];
    /** @} */
} TicketRequestRecord;

/** Ticket reply, received as (uuttyyyyyysss) and copied in field by field;
 * texts are cut to fit and always zero-terminated. Layout on every target
 * (64-bit values 8-byte aligned, as the ARM EABI has them too): 488 bytes;
 * value1 at 0, value2 at 4, value3 at 8, value4 at 16, byte1 at 24, byte2 at
 * 25, byte3 at 26, byte4 at 27, byte5 at 28, byte6 at 29, text1 at 30, text2
 * at 128, text3 at 226. */
typedef struct TicketReplyRecord {
    /** @{ */
    /** As the manager answered. */
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
    /** @} */
} TicketReplyRecord;

/** Null-terminated array of heap strings; release each string and the
 * array with free(). */
typedef char **TicketList;

/** One field string of a structure being decoded. Nodes and texts are
 * heap blocks (malloc), released by whoever drains the list. Layout on
 * 32-bit targets: 8 bytes; next at 0, text at 4. */
typedef struct FieldNode {
    struct FieldNode *next; /**< The next node, or null at the tail. */
    char *text;             /**< "tag:key:value". */
} FieldNode;

/** Ordered list of field strings; an empty list is all zero. One thread
 * at a time appends to a list. Layout on 32-bit targets: 12 bytes; count at
 * 0, head at 4, tail at 8. */
typedef struct FieldList {
    uint32_t count;  /**< Number of nodes. */
    FieldNode *head; /**< First node, or null. */
    FieldNode *tail; /**< Last node, or null. */
} FieldList;

/** One row of a value-to-text or bit-to-text table. Layout on 32-bit
 * targets: 8 bytes; code at 0, text at 4. */
typedef struct ValueTextEntry {
    uint32_t code;    /**< The value (range in byte 1), or the bit number. */
    const char *text; /**< What it means. */
} ValueTextEntry;

/** BIOS information of the loaded SMBIOS table (GetBiosInfo()). The record
 * is the caller's (free()); its texts point into the table. Layout on 32-bit
 * targets: 16 bytes; serial_number at 0, bios_version at 4, product_name at
 * 8, major_release at 12, minor_release at 13. */
typedef struct SmbiosBiosInfo {
    /** @{ */
    /** Strings of the system and BIOS structures, or null where missing;
     * invalid after SmbiosCleanup(). */
    char *serial_number;
    char *bios_version;
    char *product_name;
    /** @} */
    /** @{ */
    /** The BIOS release, which the field mappings take as the table's
     * SMBIOS version. */
    uint8_t major_release;
    uint8_t minor_release;
    /** @} */
} SmbiosBiosInfo;

/** One entry of the FQDD map built from the type-225 structures, packed.
 * Layout on every target: 5 bytes; entry_byte0 at 0, handle at 1,
 * entry_byte3 at 3, table_index at 4. */
#pragma pack(push, 1)
typedef struct FqddMapEntry {
    uint8_t entry_byte0; /**< The number of the descriptor's string. */
    uint16_t handle;     /**< The handle of the mapped structure. */
    uint8_t entry_byte3; /**< The entry's fourth byte, as it is. */
    uint8_t table_index; /**< Which type-225 structure (g_E1table index). */
} FqddMapEntry;
#pragma pack(pop)

/* ---- Status, texts, logging, version ------------------------------------ */

/** Heap copy (free()) of the library version text "1.01.00.00" in a 12-byte
 * buffer. QVM_RC_INVALID_REQUEST for a null pointer, QVM_RC_NO_RESOURCES. */
QVM_API int32_t QVM_GetLibraryVersion(char **version);
/** Heap copy (free()) of the text of a status code; unknown codes, and 0 and
 * 2, give "Unknown error". QVM_RC_INVALID_REQUEST, QVM_RC_NO_RESOURCES. */
QVM_API int32_t QVM_StrErr(int32_t code, char **text);
/** One syslog message under the given facility and priority. Opens and
 * closes the process's syslog connection: two threads logging at once can
 * swap facilities. */
QVM_API void QVM_Logger(int facility, int priority, const char *format, ...)
    QVM_PRINTF(3, 4);
/** Logs a debug line describing a manager status; always QVM_RC_SUCCESS. */
QVM_API int32_t QVM_rtn_decode(int64_t status);

/* ---- Manager requests --------------------------------------------------- */

/** @name Manager requests
 * Each request makes one blocking call on the calling thread's default bus
 * (the bus library's time limit applies) and returns the low 32 bits of the
 * manager's status as they came; -1 when the call fails or the reply has
 * the wrong signature, QVM_RC_INVALID_REQUEST for a null pointer.
 * @{ */

/** Package request (sqq). */
QVM_API int32_t QVM_PackageRequest(const char *ticket, uint16_t number1,
                                   uint16_t number2);
/** Save request (sst(uuuss)). */
QVM_API int32_t QVM_SaveRequest(const char *ticket, const char *text,
                                uint64_t value, const SaveRecord *record);
/** Collect request (s(ussssss)qq). When record->kind is 16 and the manager
 * answers 0, the reply's number goes to value_out and a heap copy (free())
 * of its text to text_out; both must then be given. */
QVM_API int32_t QVM_CollectRequest(const char *ticket, char **text_out,
                                   const CollectRecord *record,
                                   uint16_t number1, uint16_t number2,
                                   uint64_t *value_out);
/** Export request (s(ussssss)q); hands back data as QVM_CollectRequest()
 * does. */
QVM_API int32_t QVM_ExportRequest(const char *ticket, char **text_out,
                                  const CollectRecord *record, uint16_t number,
                                  uint64_t *value_out);
/** The manager's version text, as a heap copy (free()); QVM_RC_NO_RESOURCES
 * when it cannot be copied. */
QVM_API int32_t QVM_GetVersionRequest(char **version);
/** @} */
/** A reference to the calling thread's default bus, for the signal
 * functions; the caller releases it with sd_bus_unref(). Null when no bus
 * could be had. */
QVM_API sd_bus *QVM_ConnectToBus(void);

/* ---- Ticket, signals, event log ----------------------------------------- */

/** Checks the request record, sends it (blocking, on the calling thread's
 * default bus) and copies the manager's reply into reply. For operation 1/3
 * list receives the reply's strings as a TicketList (or null), else null.
 * 0, QVM_RC_INVALID_REQUEST or -1; the manager's verdict is in reply. */
QVM_API int32_t QVM_TicketRequest(const TicketRequestRecord *request,
                                  TicketReplyRecord *reply, char ***list);
/** QVM_RC_SUCCESS when ticket has a ticket's form (three parts joined by
 * underscores), else QVM_RC_INVALID_TICKET. No bus traffic, no logging. */
QVM_API int32_t QVM_valid_ticket_check(const char *ticket);
/** Adds a match for the manager's PropertiesChanged signals to bus, with the
 * caller's handler; name is used only in log lines. The match lasts as long
 * as the connection. 0, QVM_RC_INVALID_REQUEST or -1. */
QVM_API int32_t QVM_ClientSignalInit(const char *name,
                                     sd_bus_message_handler_t handler,
                                     sd_bus *bus);
/** Processes and waits on bus, running the handlers on this thread, until a
 * bus error (a closed bus among them); then returns -1. The bus stays the
 * caller's. */
QVM_API int32_t QVM_ClientSignalWait(sd_bus *bus);
/** Files a record msgid with the event-logging service (blocking, no time
 * limit); types is a D-Bus type string, possibly empty, for the variadic
 * arguments. The call's non-negative result (1 with a reply), -1, or
 * QVM_RC_INVALID_REQUEST. */
QVM_API int32_t QVM_AddEventLog(const char *msgid, const char *types, ...);

/* ---- Field strings and JSON --------------------------------------------- */

/** Appends "s:<key>:<value>" to list; nothing when value is null. A failed
 * allocation drops the field and leaves the list as it was. */
QVM_API void AddJSONString(const char *value, const char *key,
                           FieldList *list);
/** Appends "d:<key>:<value>" to list, the value in decimal. */
QVM_API void AddJSONintValue(int64_t value, const char *key, FieldList *list);
/** Appends size bytes of data as hex lines of 32 bytes, one field string
 * each, keyed by the line's offset; logs debug lines. */
QVM_API void DumpHex(uint32_t size, const uint8_t *data, FieldList *list);
/** Copies n bytes of src to dst and stores a NUL at dst[n]. */
QVM_API void MemToString(char *dst, const char *src, uint64_t n);
/** Appends src to the text in dst, a buffer of size bytes, as far as it
 * fits; returns the resulting length of dst. */
QVM_API int64_t qvmStrlCat(char *dst, const char *src, uint64_t size);
/* The JSON texts below (and so the SMBIOS export) are strict RFC 8259 JSON
 * in valid UTF-8 whatever bytes the field strings, names, documents or files
 * hold: each maximal ill-formed UTF-8 subsequence of a value, key or name is
 * written as U+FFFD, and a number that is not finite (NaN, Infinity, a
 * literal too large for a double) as null. Valid UTF-8 is written as it is. */
/** Builds one JSON object from count (at least 2) field strings, wrapped
 * under name with a "Collection" time stamp when name is given, and hands
 * back its text (free()). 0; -1, -3, -4, -5 for bad arguments or strings
 * (then out is untouched); 3 or 5 when the text cannot be produced. */
QVM_API int32_t make_a_json_string(int32_t count, char **strings,
                                   const char *name, char **out);
/** make_a_json_string() with its first two arguments swapped;
 * QVM_RC_INVALID_REQUEST for null strings or out, or a count of 0. */
QVM_API int32_t QVM_FormatData(char **strings, int32_t count,
                               const char *name, char **out);
/** Parses a JSON file into a document for the caller (json_object_put()).
 * 0, or -1 when an argument is null or the file cannot be read or parsed. */
QVM_API int32_t readJSONdoc(const char *file, json_object **out);
/** The document's spaced, pretty text as a heap copy (free()); the document
 * is left as it was. 0, QVM_RC_INVALID_REQUEST, QVM_RC_NO_RESOURCES (then
 * out is null). */
QVM_API int32_t makeJSONstringFromDoc(json_object *doc, char **out);
/** As makeJSONstringFromDoc(), of a wrapper holding "Generated" (the current
 * time) and doc under name, or "Data" when name is null. doc stays the
 * caller's. */
QVM_API int32_t makeJSONstringFromDocWithTimeStamp(json_object *doc,
                                                   const char *name,
                                                   char **out);
/** Empties doc's nested objects and releases its last array elements, with
 * a debug trace; doc itself is not released. 0, -1 or
 * QVM_RC_INVALID_REQUEST. */
QVM_API int32_t freeNestedJSONObjects(json_object *doc);
/** Extracts model name, service tag, BIOS and CPLD versions from a BIOS
 * configuration document into a new document (json_object_put()). 0,
 * QVM_RC_INVALID_REQUEST, or -1 / -2 when the document lacks them. */
QVM_API int32_t getBIOSDataFromJSON(json_object *doc, json_object **out);

/* ---- SMBIOS table access ------------------------------------------------ */

/** Loads the table file at path (null: the path that the inventory daemon
 * publishes) into the process-wide buffer, replacing any loaded table.
 * QVM_RC_NOT_FOUND when it cannot be read or holds no BIOS information, -1
 * when the bus fails; call SmbiosCleanup() after a failure too. Not while
 * other threads use the table. */
QVM_API int64_t SmbiosInit(const char *path);
/** Releases the loaded table: structure pointers and texts handed out
 * (SmbiosBiosInfo texts, g_E1table entries) become invalid; heap copies and
 * arrays, the version pair and the FQDD map records stay. Not while other
 * threads use the table. */
QVM_API void SmbiosCleanup(void);
/** String number of the structure at *slot, inside the table, or null. A
 * number beyond its strings moves *slot on to the next structure. */
QVM_API char *SmbiosGetString(uint8_t **slot, uint16_t number);
/** The structure with *handle (65535: the first) and its whole size;
 * *handle becomes the next structure's handle, 65535 after the last.
 * QVM_RC_NOT_FOUND (handle set to 65535), QVM_RC_INVALID_REQUEST. */
QVM_API int64_t SmbiosGetStructure(uint16_t *handle, uint8_t **structure,
                                   uint16_t *length);
/** The structures of one type, in table order, as heap arrays of pointers
 * into the table and of whole sizes (free() both arrays); with both array
 * pointers null only the count. QVM_RC_NOT_FOUND without a table,
 * QVM_RC_INVALID_REQUEST, QVM_RC_NO_RESOURCES. */
QVM_API int64_t SmbiosGetStructureOfType(uint8_t type, uint8_t ***structures,
                                         uint16_t **lengths, uint16_t *count);
/** BIOS information for the key "SMBIOSBIOSInfo" as a heap record (free()).
 * QVM_RC_NOT_FOUND for another key or without a table,
 * QVM_RC_NO_RESOURCES. */
QVM_API int64_t GetBiosInfo(const char *key, SmbiosBiosInfo **info);
/** @{ */
/** The BIOS release of the loaded table (MajorVersion, MinorVersion). */
QVM_API unsigned int GetSmbiosMajorVersion(void);
QVM_API unsigned int GetSmbiosMinorVersion(void);
/** @} */
/** Heap copy (free()) of the system's serial number, for the key
 * "SMBIOSServiceTagString". QVM_RC_NOT_FOUND for another key, or without a
 * single system structure; QVM_RC_INVALID_REQUEST (text set to null) when it
 * has no serial number; QVM_RC_NO_RESOURCES. */
QVM_API int64_t GetServiceTag(const char *key, char **text);
/** As GetServiceTag(), for the key "SMBIOSSystemNameString": the system name
 * from the OEM strings, else the product name. */
QVM_API int64_t GetSystemName(const char *key, char **text);
/** GetServiceTag() or GetSystemName(), chosen by key;
 * QVM_RC_INVALID_REQUEST for any other key. */
QVM_API int64_t GetSystemDetails(const char *key, char **text);
/** Builds the process-wide FQDD map from the type-225 structures, replacing
 * the previous one (a failure leaves it empty). QVM_RC_NOT_FOUND,
 * QVM_RC_NO_RESOURCES. Not while other threads use the map. */
QVM_API int64_t PopulateFqdds(void);
/** The map record of handle, inside the map, or null. Valid until the next
 * PopulateFqdds(); SmbiosCleanup() leaves the map alone. */
QVM_API FqddMapEntry *FindFqdd(uint32_t handle);
/** Appends the whole loaded table to the file path as JSON: an array of one
 * array per structure type present. Returns success even when the file
 * cannot be written (it then lacks text or its closing "]"); a failure of
 * the table walk stops it with that status. Remove an old file first. */
QVM_API int64_t SmBiosDataToJSON(const char *path);
/** Appends the JSON object of the structure at *slot, of whole size size, to
 * the file path. QVM_RC_INVALID_REQUEST, QVM_RC_NO_RESOURCES, the JSON
 * builder's status, or -1 when the file cannot be opened. */
QVM_API int64_t qvmSmbiosAddStructure(uint8_t **slot, uint32_t size,
                                      const char *path);

/** @{ */
/** The loaded table (buffer, start, length) and the version pairs that
 * SmbiosInit() sets; NumberOfSmbiosStructures stays 0. Read-only for
 * callers. */
QVM_API extern uint8_t *gSMDataBuffer;
QVM_API extern uint8_t *m_SmbiosStruct;
QVM_API extern int64_t gSMTableLength;
QVM_API extern uint8_t SmbiosMajorVersion;
QVM_API extern uint8_t SmbiosMinorVersion;
QVM_API extern uint8_t MajorVersion;
QVM_API extern uint8_t MinorVersion;
QVM_API extern uint64_t NumberOfSmbiosStructures;
/** @} */
/** @{ */
/** The FQDD map as PopulateFqdds() leaves it: whether the table has one, its
 * type-225 structures (pointers into the table) and its m_countE1 records.
 * Read-only for callers. */
QVM_API extern uint8_t TypeE1Supported;
QVM_API extern uint8_t **g_E1table;
QVM_API extern uint16_t g_E1tableCount;
QVM_API extern FqddMapEntry *m_Fqdd;
QVM_API extern uint16_t m_countE1;
/** @} */

/* ---- SMBIOS decoders and their tables ------------------------------------ */

/* The decoders append field strings to the list they are given and return
 * nothing; a null list (or field pointer) appends nothing, and a failed
 * allocation drops that one field. They read no process-wide state except
 * where noted, and may run on several threads, each with its own list. */

/** The text of value in table (count rows) through text_out; returns value,
 * or QVM_RC_NOT_FOUND (text_out untouched) when no row covers it. */
QVM_API uint32_t QueryTable(const ValueTextEntry *table, uint64_t count,
                            uint8_t value, const char **text_out);
/** Appends one field string for each bit of bits that the bit table
 * (count rows) names. */
QVM_API void AddBitsInfo(const ValueTextEntry *table, uint32_t count,
                         uint32_t bits, FieldList *list);

/* QVM_DECODERS_BEGIN */
/** @{ */
/** Value-to-text and bit-to-text tables: in an enumeration table byte 0 of
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
/** @} */

/** @{ */
/** Table-driven decoders: each appends "d:<label>:<value>", then what the
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
/** @} */

/** @{ */
/** The type-225 and type-226 mappings name their structure type with E1 and
 * E2; the generic entry is for outside callers. All three decode alike. */
QVM_API void qvmAddStructureTypeInfo(uint32_t type, FieldList *list);
QVM_API void qvmAddStructureTypeE2Info(uint32_t type, FieldList *list);
/** @} */

/** @{ */
/** BIOS Characteristics (pointer to the 8-byte little-endian field) and its
 * extension bytes; each set capability bit appends "s:<capability>:True".
 * Byte 2 is read according to the loaded table's SMBIOS version, which is
 * process-wide. */
QVM_API void qvmAddBiosCharacteristics(const void *field, FieldList *list);
QVM_API void qvmAddBiosCharacteristicsExt1(uint32_t value, FieldList *list);
QVM_API void qvmAddBiosCharacteristicsExt2(uint32_t value, FieldList *list);
/** @} */

/** @{ */
/** Processor family (byte, or the word that a family byte of 0xFE refers
 * to), voltage and status bytes. */
QVM_API void qvmAddProcessorFamily(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorFamily2(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorVoltage(uint32_t value, FieldList *list);
QVM_API void qvmAddProcessorStatus(uint32_t value, FieldList *list);
/** @} */

/** @{ */
/** Memory controller, memory module and cache fields: sizes are powers of
 * two; handles points to count little-endian handles (any alignment). */
QVM_API void qvmAddMaxMemoryModuleSize(uint32_t exponent, uint32_t slots,
                                       FieldList *list);
QVM_API void qvmAddMemoryModuleConfigHandles(const void *handles,
                                             uint32_t count, FieldList *list);
QVM_API void qvmAddMmBankConnections(uint32_t value, FieldList *list);
QVM_API void qvmAddMmMemorySize(uint32_t value, FieldList *list);
QVM_API void qvmAddCacheConfiguration(uint32_t value, FieldList *list);
/** @} */

/** @{ */
/** Slot ID (its meaning depends on the slot type), boot status, battery
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
/** @} */

/** @{ */
/** System event log: the structure's access method, status and header-format
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
/** @} */
/* QVM_DECODERS_END */

/* ---- D-Bus inventory to JSON --------------------------------------------- */

/** @name D-Bus inventory
 * Calls are blocking method calls on the caller's connection, which stays
 * the caller's and is used by one thread at a time. Documents handed out
 * are the caller's (json_object_put()).
 * @{ */

/** Reads a GetAll reply (a{sv}) into {property: value}. 0; 3 for a null
 * argument; -1 for an error reply or an unreadable value, with what was
 * read so far left in out for the caller to release. */
QVM_API int32_t make_JSON_object_from_GetAllReply(sd_bus_message *reply,
                                                  json_object **out);
/** Reads the object mapper's GetSubTree reply (a{sa{sas}}) into a document;
 * results as make_JSON_object_from_GetAllReply(). */
QVM_API int32_t make_JSON_object_from_GetSubTreeReply(sd_bus_message *reply,
                                                      json_object **out);
/** The whole inventory as [service, path, {interface: properties}] triples:
 * the mapper's tree, then GetAll for each interface; an interface whose
 * GetAll fails is left out. 0, 3, or -1 when the mapper call fails.
 * Worst case: the mapper's GetSubTree waits up to the bus's method-call
 * time-out (25 s unless set); each GetAll waits at most 5 s (less when the
 * bus's time-out is shorter), and a service that lets one call time out is
 * not asked again in the same walk, so hung services add at most 5 s each
 * on top of the time the answered calls take. */
QVM_API int32_t retrieveSystemObjectProperties(sd_bus *bus, json_object **out);
/** The object mapper's whole tree (GetSubTree of "/"). 0, 3 or -1. */
QVM_API int32_t get_object_lists(sd_bus *bus, json_object **out);
/** {interface: properties} of one interface of one object; a null path
 * is made from the service name, a null interface asks for the service's
 * name. 0 or -1. */
QVM_API int32_t get_properties_from_node(sd_bus *bus, const char *service,
                                         const char *path,
                                         const char *interface,
                                         json_object **out);
/** Heap copy (free()) of the inventory daemon's "FullSMBIOSTablePath" or
 * "BiosConfigurationFilePath". 0; 3 for a null argument or another name;
 * 5 when the value is absent; -1 when the call fails. */
QVM_API int32_t get_property_from_invd(sd_bus *bus, const char *name,
                                       char **out);
/** The object path of a service name ("a.b.c" gives "/a/b/c") as a heap
 * string (free()). 0, or -1 for a null argument or failed allocation. */
QVM_API int32_t make_object_from_servicename(const char *name, char **out);
/** @} */

/* ---- Helper programs ----------------------------------------------------- */

/** @name Helper programs
 * The calls block their thread until they have an outcome, log to syslog,
 * and may run on several threads at once: each waits for its own child
 * only. A SIGCHLD handler that reaps children can take it away from them,
 * and the call then fails.
 * @{ */

/** The fixed environment every child starts with (null-terminated); read
 * afresh at each call, never the caller's environment. */
QVM_API extern char *envp[5];

/** Runs path with argv and waits for it. 0 when it exited with status 0,
 * else -1. */
QVM_API int32_t QVM_system_call_wait(const char *path, char *const argv[]);
/** Runs path with argv, checking once a second for at most seconds. 0 when
 * it exited with status 0, and also when the time limit ran out: the child
 * is then killed but not reaped, and the caller reaps it (waitpid). -1
 * otherwise. */
QVM_API int32_t QVM_system_call_timeout(const char *path, char *const argv[],
                                        int32_t seconds);
/** As QVM_system_call_wait(), with the descriptor of input as the child's
 * standard input (at its current position; what the stream has buffered is
 * not seen). QVM_RC_INVALID_REQUEST for a null input or path. */
QVM_API int32_t QVM_system_call_wait_stdin(FILE *input, const char *path,
                                           char *const argv[]);
/** @} */

#ifdef __cplusplus
}
#endif

#endif /* QVMCLIENT_H */
