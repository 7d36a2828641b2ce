#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <cstdlib>
#include <cstring>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::LogCapture;
using qvmtest::LogLine;

namespace
{

std::string strErr(int32_t code)
{
    char* text = nullptr;
    EXPECT_EQ(QVM_StrErr(code, &text), QVM_RC_SUCCESS);
    std::string out = text ? text : "<null>";
    std::free(text);
    return out;
}

std::string decodeLine(int64_t status)
{
    LogCapture log;
    EXPECT_EQ(QVM_rtn_decode(status), QVM_RC_SUCCESS);
    EXPECT_EQ(log.lines().size(), 1U);
    if (log.lines().empty())
        return {};
    EXPECT_EQ(log.lines()[0].facility, 8);
    EXPECT_EQ(log.lines()[0].priority, 7);
    return log.lines()[0].text;
}

} // namespace

TEST(StrErr, EveryCodeHasItsText)
{
    EXPECT_EQ(strErr(0), "Unknown error");
    EXPECT_EQ(strErr(1), "Invalid Ticket supplied");
    EXPECT_EQ(strErr(2), "Unknown error");
    EXPECT_EQ(strErr(3), "Invalid request");
    EXPECT_EQ(strErr(4), "Buffer too small");
    EXPECT_EQ(strErr(5), "Out of resources");
    EXPECT_EQ(strErr(6), "Needed component not found");
    EXPECT_EQ(strErr(7), "Background start failure");
    EXPECT_EQ(strErr(8), "Operation timeout");
    EXPECT_EQ(strErr(9), "Operation unsupported");
    EXPECT_EQ(strErr(-1), "Operation failed");
    EXPECT_EQ(strErr(10), "Unknown error");
    EXPECT_EQ(strErr(-2), "Unknown error");
}

TEST(StrErr, NullTextPointerIsRefused)
{
    EXPECT_EQ(QVM_StrErr(1, nullptr), QVM_RC_INVALID_REQUEST);
}

TEST(RtnDecode, NamedStatusesWriteTheirLine)
{
    EXPECT_EQ(decodeLine(0), "Success return\n");
    EXPECT_EQ(decodeLine(2), "Normal pending return\n");
    EXPECT_EQ(decodeLine(3), "Invalid parameter used\n");
    EXPECT_EQ(decodeLine(5), "Memory Allocation error\n");
    EXPECT_EQ(decodeLine(7), "pacakge operation not started\n");
    EXPECT_EQ(decodeLine(-1), "Invalid parameter used\n");
}

TEST(RtnDecode, OtherStatusesShowTheWholeValueInHex)
{
    // Code 1 has a text of its own in QVM_StrErr but none here.
    EXPECT_EQ(decodeLine(1), "Not translated return code: 1\n");
    EXPECT_EQ(decodeLine(4), "Not translated return code: 4\n");
    EXPECT_EQ(decodeLine(6), "Not translated return code: 6\n");
    EXPECT_EQ(decodeLine(8), "Not translated return code: 8\n");
    EXPECT_EQ(decodeLine(4294967295LL),
              "Not translated return code: ffffffff\n");
    EXPECT_EQ(decodeLine(-2), "Not translated return code: fffffffffffffffe\n");
    EXPECT_EQ(decodeLine(INT64_C(1) << 32),
              "Not translated return code: 100000000\n");
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

TEST(Logger, OpensWithTheFacilityAndKeepsThePriority)
{
    LogCapture log;
    QVM_Logger(24, 3, "%s: %d\n", "value", 42);
    EXPECT_THAT(log.lines(),
                testing::ElementsAre(LogLine{24, 3, "value: 42\n"}));
}
