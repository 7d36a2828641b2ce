#include "client_support.hpp"

#include <cstdlib>
#include <syslog.h>

TEST(Status, NoTextWithoutAPlaceForIt)
{
    EXPECT_EQ(QVM_StrErr(1, nullptr), QVM_RC_INVALID_REQUEST);
}

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

TEST(LibraryVersion, TwelveByteBufferWithTrailingZeros)
{
    char* version = nullptr;
    ASSERT_EQ(QVM_GetLibraryVersion(&version), QVM_RC_SUCCESS);
    EXPECT_EQ(std::memcmp(version, "1.01.00.00\0\0", 12), 0);
    std::free(version);
    EXPECT_EQ(QVM_GetLibraryVersion(nullptr), QVM_RC_INVALID_REQUEST);
}
