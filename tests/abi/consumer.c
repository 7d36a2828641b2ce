/* A plain C99 program built against the installed header and pkg-config,
 * for the target. Besides a few calls it prints the layout of every record
 * in the header's own words ("Layout on ...: N bytes; member at O, ..."),
 * which record_layouts.py compares with what the header states. */
#include <qvmclient.h>

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define CHECK(cond)                                                            \
    do {                                                                       \
        if (!(cond)) {                                                         \
            fprintf(stderr, "failed: %s\n", #cond);                            \
            return 1;                                                          \
        }                                                                      \
    } while (0)

/* A member's name and offset, as layout() takes them. */
#define AT(record, member) #member, (unsigned)offsetof(record, member)

/* One line: the record, its size, then count (name, offset) pairs. */
static void layout(const char *record, size_t size, int count, ...)
{
    va_list members;
    int i;

    printf("%s: %u bytes;", record, (unsigned)size);
    va_start(members, count);
    for (i = 0; i < count; ++i) {
        const char *name = va_arg(members, const char *);
        printf("%s %s at %u", i ? "," : "", name, va_arg(members, unsigned));
    }
    va_end(members);
    puts(".");
}

int main(void)
{
    char *text = NULL;

    CHECK(QVM_GetLibraryVersion(&text) == QVM_RC_SUCCESS);
    CHECK(strcmp(text, "1.01.00.00") == 0);
    free(text);
    CHECK(QVM_StrErr(QVM_RC_NOT_FOUND, &text) == QVM_RC_SUCCESS);
    CHECK(strcmp(text, "Needed component not found") == 0);
    free(text);

    printf("pointer: %u bytes.\n", (unsigned)sizeof(void *));
    layout("SaveRecord", sizeof(SaveRecord), 5, AT(SaveRecord, value1),
           AT(SaveRecord, value2), AT(SaveRecord, value3),
           AT(SaveRecord, text1), AT(SaveRecord, text2));
    layout("CollectRecord", sizeof(CollectRecord), 7,
           AT(CollectRecord, kind), AT(CollectRecord, text1),
           AT(CollectRecord, text2), AT(CollectRecord, text3),
           AT(CollectRecord, text4), AT(CollectRecord, text5),
           AT(CollectRecord, text6));
    layout("TicketRequestRecord", sizeof(TicketRequestRecord), 11,
           AT(TicketRequestRecord, version), AT(TicketRequestRecord, magic),
           AT(TicketRequestRecord, op), AT(TicketRequestRecord, sub),
           AT(TicketRequestRecord, param1), AT(TicketRequestRecord, param2),
           AT(TicketRequestRecord, param3), AT(TicketRequestRecord, param4),
           AT(TicketRequestRecord, text1), AT(TicketRequestRecord, text2),
           AT(TicketRequestRecord, text3));
    layout("TicketReplyRecord", sizeof(TicketReplyRecord), 13,
           AT(TicketReplyRecord, value1), AT(TicketReplyRecord, value2),
           AT(TicketReplyRecord, value3), AT(TicketReplyRecord, value4),
           AT(TicketReplyRecord, byte1), AT(TicketReplyRecord, byte2),
           AT(TicketReplyRecord, byte3), AT(TicketReplyRecord, byte4),
           AT(TicketReplyRecord, byte5), AT(TicketReplyRecord, byte6),
           AT(TicketReplyRecord, text1), AT(TicketReplyRecord, text2),
           AT(TicketReplyRecord, text3));
    layout("FieldNode", sizeof(FieldNode), 2, AT(FieldNode, next),
           AT(FieldNode, text));
    layout("FieldList", sizeof(FieldList), 3, AT(FieldList, count),
           AT(FieldList, head), AT(FieldList, tail));
    layout("ValueTextEntry", sizeof(ValueTextEntry), 2,
           AT(ValueTextEntry, code), AT(ValueTextEntry, text));
    layout("SmbiosBiosInfo", sizeof(SmbiosBiosInfo), 5,
           AT(SmbiosBiosInfo, serial_number), AT(SmbiosBiosInfo, bios_version),
           AT(SmbiosBiosInfo, product_name), AT(SmbiosBiosInfo, major_release),
           AT(SmbiosBiosInfo, minor_release));
    layout("FqddMapEntry", sizeof(FqddMapEntry), 4,
           AT(FqddMapEntry, entry_byte0), AT(FqddMapEntry, handle),
           AT(FqddMapEntry, entry_byte3), AT(FqddMapEntry, table_index));
    return 0;
}
