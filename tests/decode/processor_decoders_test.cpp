#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::decoded;

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

TEST(ProcessorFamily, ListedFamiliesAndTheGapsBetweenThem)
{
    const qvmtest::DecoderCase cases[] = {
        {qvmAddProcessorFamily, 1, "Other"},
        {qvmAddProcessorFamily, 0xB3, "Intel Xeon Processor"},
        {qvmAddProcessorFamily, 251, "i960"},
        // Only the word decoder knows the word families.
        {qvmAddProcessorFamily2, 0x00B3, kUndefined},
        {qvmAddProcessorFamily2, 0x0100, "ARMv7"},
        {qvmAddProcessorFamily2, 0x0140, "WinChip"},
        {qvmAddProcessorFamily2, 0x0141, kUndefined},
        {qvmAddProcessorFamily2, 500, "Video Processor"},
        {qvmAddProcessorFamily2, 0x101F4, kUndefined},
    };
    for (const auto& c : cases)
        EXPECT_EQ(family(c.decoder, c.value), c.text) << c.value;
    for (const uint32_t gap : {0U, 22U, 252U, 0xFEU, 255U, 256U})
        EXPECT_EQ(family(qvmAddProcessorFamily, gap), kUndefined) << gap;
}

TEST(ProcessorDecoders, VoltageAndStatusBits)
{
    qvmtest::expectDecoded({
        // Legacy mode gives the voltage only.
        {decoded(qvmAddProcessorVoltage, 0x8CU),
         {"d:Processor Information - Voltage:140",
          "d:Processor current voltage(V/10):12"}},
        // Otherwise the supported voltages, then each reserved bit.
        {decoded(qvmAddProcessorVoltage, 0x7AU),
         {"d:Processor Information - Voltage:122", "s:3.3V is supported:True",
          "s:Notice:Error, reserved BIT 3 must be zero",
          "s:Notice:Error, reserved BIT 4 must be zero",
          "s:Notice:Error, reserved BIT 5 must be zero",
          "s:Notice:Error, reserved BIT 6 must be zero"}},
        {decoded(qvmAddProcessorVoltage, 0x05U),
         {"d:Processor Information - Voltage:5", "s:5V is supported:True",
          "s:2.9V is supported:True"}},
        // The status reports only its first reserved bit.
        {decoded(qvmAddProcessorStatus, 0xB9U),
         {"d:Processor Status:185",
          "s:Notice:Error, reserved BIT 7 must be zero",
          "s:CPU Socket Populated:False", "s:Status:CPU Enabled"}},
        {decoded(qvmAddProcessorStatus, 0x18U),
         {"d:Processor Status:24",
          "s:Notice:Error, reserved BIT 4 must be zero",
          "s:CPU Socket Populated:False", "s:Status:Unknown"}},
        {decoded(qvmAddProcessorStatus, 0x44U),
         {"d:Processor Status:68", "s:CPU Socket Populated:True",
          "s:Status:CPU is Idle, waiting to be enabled"}},
        {decoded(qvmAddProcessorStatus, 0x06U),
         {"d:Processor Status:6", "s:CPU Socket Populated:False",
          "s:Status:Reserved"}},
        {decoded(qvmAddProcessorStatus, 0x47U),
         {"d:Processor Status:71", "s:CPU Socket Populated:True",
          "s:Status:Others"}},
    });
}
