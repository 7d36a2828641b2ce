#include "client_support.hpp"

#include <cstdlib>
#include <syslog.h>

// A line whose priority the process's log mask drops is never written; the
// lines the mask lets through are written as before.
TEST(Logger, WhatTheLogMaskDropsIsNeverWritten)
{
    LogCapture log;
    const int before = setlogmask(LOG_UPTO(LOG_INFO));
    QVM_rtn_decode(0);
    QVM_Logger(24, 3, "failed: %d\n", 5);
    setlogmask(before);
    QVM_rtn_decode(0);
    EXPECT_THAT(log.lines(), ElementsAre(LogLine{24, 3, "failed: 5\n"},
                                         LogLine{8, 7, "Success return\n"}));
}
