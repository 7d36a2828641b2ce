#include "client_support.hpp"

#include <cstdlib>
#include <syslog.h>
#include <utility>

TEST(StrErr, EveryCodeHasItsText)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "Unknown error"},
        {1, "Invalid Ticket supplied"},
        {2, "Unknown error"},
        {3, "Invalid request"},
        {4, "Buffer too small"},
        {5, "Out of resources"},
        {6, "Needed component not found"},
        {7, "Background start failure"},
        {8, "Operation timeout"},
        {9, "Operation unsupported"},
        {-1, "Operation failed"},
        {10, "Unknown error"},
        {-2, "Unknown error"},
    };
    for (const auto& [code, expected] : cases)
    {
        char* text = nullptr;
        EXPECT_EQ(QVM_StrErr(code, &text), QVM_RC_SUCCESS);
        EXPECT_STREQ(text, expected) << code;
        std::free(text);
    }
    EXPECT_EQ(QVM_StrErr(1, nullptr), QVM_RC_INVALID_REQUEST);
}

TEST(RtnDecode, NamedStatusesHaveTheirLineOthersTheWholeValueInHex)
{
    const std::pair<int64_t, const char*> cases[] = {
        {0, "Success return\n"},
        {2, "Normal pending return\n"},
        {3, "Invalid parameter used\n"},
        {5, "Memory Allocation error\n"},
        {7, "pacakge operation not started\n"},
        {-1, "Invalid parameter used\n"},
        // Code 1 has a text of its own in QVM_StrErr but none here.
        {1, "Not translated return code: 1\n"},
        {4, "Not translated return code: 4\n"},
        {6, "Not translated return code: 6\n"},
        {8, "Not translated return code: 8\n"},
        {4294967295LL, "Not translated return code: ffffffff\n"},
        {-2, "Not translated return code: fffffffffffffffe\n"},
        {INT64_C(1) << 32, "Not translated return code: 100000000\n"},
    };
    for (const auto& [status, line] : cases)
    {
        LogCapture log;
        EXPECT_EQ(QVM_rtn_decode(status), QVM_RC_SUCCESS);
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 7, line})) << status;
    }
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
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(std::memcmp(version, "1.01.00.00\0\0", 12), 0);
    std::free(version);
    EXPECT_EQ(QVM_GetLibraryVersion(nullptr), QVM_RC_INVALID_REQUEST);
}
