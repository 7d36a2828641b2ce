/* A plain C99 program built against the installed header and pkg-config. */
#include <qvmclient.h>

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

int main(void)
{
    char *text = NULL;

    CHECK(QVM_GetLibraryVersion(&text) == QVM_RC_SUCCESS);
    CHECK(strcmp(text, "1.01.00.00") == 0);
    free(text);
    CHECK(QVM_StrErr(QVM_RC_NOT_FOUND, &text) == QVM_RC_SUCCESS);
    CHECK(strcmp(text, "Needed component not found") == 0);
    free(text);

    CHECK(offsetof(SaveRecord, text2) == 110);
    CHECK(offsetof(CollectRecord, text6) == 516);
    CHECK(offsetof(TicketRequestRecord, text3) == 40);
    CHECK(offsetof(TicketReplyRecord, text3) == 226);
    CHECK(sizeof(FqddMapEntry) == 5);
    puts("consumer ok");
    return 0;
}
