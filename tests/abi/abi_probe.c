/* A small shared object whose exported interface reaches two records of the
 * header: one through a function parameter, one through a variable. */
#include "qvmclient.h"

int32_t QVM_SaveRequest(const char *ticket, const char *text, uint64_t value,
                        const SaveRecord *record)
{
    return ticket && text && record && value ? QVM_RC_SUCCESS
                                             : QVM_RC_INVALID_REQUEST;
}

FqddMapEntry *m_Fqdd;
