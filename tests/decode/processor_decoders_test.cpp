#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::decoded;
using testing::ElementsAre;

namespace
{

const char* const kUndefined = "Undefined processor family and type";

// The text the byte or word family decoder gives value, after checking the
// integer field that comes first. The key ends in a blank.
std::string family(void (*decoder)(uint32_t, FieldList*), uint32_t value)
{
    const auto strings = decoded(decoder, value);
    EXPECT_EQ(strings.size(), 2U);
    if (strings.size() != 2)
        return {};
    EXPECT_EQ(strings[0], "d:Processor Family :" + std::to_string(value));
    const std::string prefix = "s:Processor Family :";
    EXPECT_EQ(strings[1].rfind(prefix, 0), 0U) << strings[1];
    return strings[1].substr(prefix.size());
}

} // namespace

TEST(ProcessorFamily, ListedBytesAndTheGapsBetweenThem)
{
    EXPECT_EQ(family(qvmAddProcessorFamily, 1), "Other");
    EXPECT_EQ(family(qvmAddProcessorFamily, 21), "Intel Pentium 4 HT");
    EXPECT_EQ(family(qvmAddProcessorFamily, 0xB3), "Intel Xeon Processor");
    EXPECT_EQ(family(qvmAddProcessorFamily, 195),
              "Intel(R) Core(TM)2 Extreme mobile processor");
    EXPECT_EQ(family(qvmAddProcessorFamily, 251), "i960");
    for (const uint32_t gap :
         {0U, 22U, 23U, 129U, 190U, 249U, 252U, 0xFEU, 255U, 256U})
        EXPECT_EQ(family(qvmAddProcessorFamily, gap), kUndefined) << gap;
}

TEST(ProcessorFamily2, OnlyTheWordFamiliesHaveTexts)
{
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x00B3), kUndefined);
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x0100), "ARMv7");
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x0118), "ARM");
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x0140), "WinChip");
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x0141), kUndefined);
    EXPECT_EQ(family(qvmAddProcessorFamily2, 500), "Video Processor");
    EXPECT_EQ(family(qvmAddProcessorFamily2, 0x101F4), kUndefined);
}

TEST(ProcessorVoltage, LegacyModeGivesTheVoltageOnly)
{
    EXPECT_THAT(decoded(qvmAddProcessorVoltage, 0x8CU),
                ElementsAre("d:Processor Information - Voltage:140",
                            "d:Processor current voltage(V/10):12"));
}

TEST(ProcessorVoltage, SupportedVoltagesThenReservedBits)
{
    EXPECT_THAT(decoded(qvmAddProcessorVoltage, 0x7AU),
                ElementsAre("d:Processor Information - Voltage:122",
                            "s:3.3V is supported:True",
                            "s:Notice:Error, reserved BIT 3 must be zero",
                            "s:Notice:Error, reserved BIT 4 must be zero",
                            "s:Notice:Error, reserved BIT 5 must be zero",
                            "s:Notice:Error, reserved BIT 6 must be zero"));
    EXPECT_THAT(decoded(qvmAddProcessorVoltage, 0x05U),
                ElementsAre("d:Processor Information - Voltage:5",
                            "s:5V is supported:True",
                            "s:2.9V is supported:True"));
}

TEST(ProcessorStatus, OnlyTheFirstReservedBitIsReported)
{
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0xB9U),
                ElementsAre("d:Processor Status:185",
                            "s:Notice:Error, reserved BIT 7 must be zero",
                            "s:CPU Socket Populated:False",
                            "s:Status:CPU Enabled"));
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0x18U),
                ElementsAre("d:Processor Status:24",
                            "s:Notice:Error, reserved BIT 4 must be zero",
                            "s:CPU Socket Populated:False",
                            "s:Status:Unknown"));
}

TEST(ProcessorStatus, SocketAndCpuState)
{
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0x41U),
                ElementsAre("d:Processor Status:65",
                            "s:CPU Socket Populated:True",
                            "s:Status:CPU Enabled"));
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0x44U),
                ElementsAre("d:Processor Status:68",
                            "s:CPU Socket Populated:True",
                            "s:Status:CPU is Idle, waiting to be enabled"));
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0x06U),
                ElementsAre("d:Processor Status:6",
                            "s:CPU Socket Populated:False",
                            "s:Status:Reserved"));
    EXPECT_THAT(decoded(qvmAddProcessorStatus, 0x47U),
                ElementsAre("d:Processor Status:71",
                            "s:CPU Socket Populated:True", "s:Status:Others"));
}

TEST(ProcessorDecoders, NullListIsIgnored)
{
    qvmAddProcessorFamily(1, nullptr);
    qvmAddProcessorFamily2(256, nullptr);
    qvmAddProcessorVoltage(0xFF, nullptr);
    qvmAddProcessorStatus(0xFF, nullptr);
}
