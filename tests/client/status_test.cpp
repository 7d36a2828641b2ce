#include "client_support.hpp"

#include <cstdlib>
#include <syslog.h>
#include <utility>

// The texts at the edges and in the gaps of the codes; qvm's own tests print
// the texts of the codes they meet.
TEST(Status, TextsAndManagerLinesHaveTheirGaps)
{
    const std::pair<int32_t, const char*> texts[] = {
        {0, "Unknown error"},         {2, "Unknown error"},
        {9, "Operation unsupported"}, {10, "Unknown error"},
        {-1, "Operation failed"},     {-2, "Unknown error"},
    };
    for (const auto& [code, expected] : texts)
    {
        char* text = nullptr;
        EXPECT_EQ(QVM_StrErr(code, &text), QVM_RC_SUCCESS);
        EXPECT_STREQ(text, expected) << code;
        std::free(text);
    }
    EXPECT_EQ(QVM_StrErr(1, nullptr), QVM_RC_INVALID_REQUEST);

    // Code 1 has a text of its own in QVM_StrErr but no line here; others
    // show the whole 64-bit value.
    const std::pair<int64_t, const char*> lines[] = {
        {2, "Normal pending return\n"},
        {-1, "Invalid parameter used\n"},
        {1, "Not translated return code: 1\n"},
        {-2, "Not translated return code: fffffffffffffffe\n"},
    };
    for (const auto& [status, line] : lines)
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
    EXPECT_EQ(std::memcmp(version, "1.01.00.00\0\0", 12), 0);
    std::free(version);
    EXPECT_EQ(QVM_GetLibraryVersion(nullptr), QVM_RC_INVALID_REQUEST);
}
