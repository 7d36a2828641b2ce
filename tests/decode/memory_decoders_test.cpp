#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using qvmtest::decoded;
using testing::ElementsAre;

namespace
{

const char* const kLargest =
    "d:The size of the largest memory module supported (per slot) :";
const char* const kMaximum =
    "d:The maximum amount of memory supported by this controller(MB) :";

} // namespace

TEST(MaxMemoryModuleSize, PowerOfTwoPerSlotAndForAllSlots)
{
    EXPECT_THAT(decoded(qvmAddMaxMemoryModuleSize, 13U, 4U),
                ElementsAre(std::string(kLargest) + "8192",
                            std::string(kMaximum) + "32768"));
    EXPECT_THAT(
        decoded(qvmAddMaxMemoryModuleSize, 0U, 0U),
        ElementsAre(std::string(kLargest) + "1", std::string(kMaximum) + "0"));
    // Products are taken in 64 bits, and exponents past them give 0.
    EXPECT_THAT(decoded(qvmAddMaxMemoryModuleSize, 40U, 255U),
                ElementsAre(std::string(kLargest) + "1099511627776",
                            std::string(kMaximum) + "280375465082880"));
    EXPECT_THAT(
        decoded(qvmAddMaxMemoryModuleSize, 64U, 2U),
        ElementsAre(std::string(kLargest) + "0", std::string(kMaximum) + "0"));
}

TEST(MemoryModuleConfigHandles, CountThenEachUnalignedHandle)
{
    const uint8_t bytes[] = {0xEE, 0x34, 0x12, 0xFF, 0xFF, 0xEE};
    EXPECT_THAT(decoded(qvmAddMemoryModuleConfigHandles,
                        static_cast<const void*>(bytes + 1), 2U),
                ElementsAre("d:Handles' List controlled by this controller:2",
                            "d:Handle:4660", "d:Handle:65535"));
    EXPECT_THAT(decoded(qvmAddMemoryModuleConfigHandles,
                        static_cast<const void*>(bytes), 0U),
                ElementsAre("d:Handles' List controlled by this controller:0"));
}

TEST(MmBankConnections, NoConnectionOnTheLowNibbleDropsTheLowFields)
{
    EXPECT_THAT(decoded(qvmAddMmBankConnections, 0x1FU),
                ElementsAre("d:Bank Connections:31", "d:Banks High:1",
                            "d:RAS# High:1"));
    EXPECT_THAT(decoded(qvmAddMmBankConnections, 0x23U),
                ElementsAre("d:Bank Connections:35", "d:Banks High:2",
                            "d:Banks Low:3", "d:RAS# High:2", "d:RAS# Low:3"));
    EXPECT_THAT(decoded(qvmAddMmBankConnections, 0xF0U),
                ElementsAre("d:Bank Connections:240", "d:Banks High:15",
                            "d:Banks Low:0", "d:RAS# High:15", "d:RAS# Low:0"));
}

TEST(MmMemorySize, SizeCodesAndTheBankConnection)
{
    const char* single =
        "s:Connection:The memory module has a Single-bank connection";
    const char* dual =
        "s:Connection:The memory module has a Double-bank connection";
    EXPECT_THAT(
        decoded(qvmAddMmMemorySize, 0x8AU),
        ElementsAre("d:Memory Size:138", "d:Memory Size(MB):1024", dual));
    EXPECT_THAT(
        decoded(qvmAddMmMemorySize, 0x7FU),
        ElementsAre("d:Memory Size:127", "d:Not installed:127", single));
    EXPECT_THAT(
        decoded(qvmAddMmMemorySize, 0xFDU),
        ElementsAre("d:Memory Size:253",
                    "d:Memory Size Not determinable (Installed Size only):125",
                    dual));
    EXPECT_THAT(
        decoded(qvmAddMmMemorySize, 0x7EU),
        ElementsAre("d:Memory Size:126",
                    "d:Module is installed, but no memory has been enabled:126",
                    single));
    EXPECT_THAT(
        decoded(qvmAddMmMemorySize, 0x7CU),
        ElementsAre("d:Memory Size:124", "d:Memory Size(MB):0", single));
}

TEST(CacheConfiguration, EveryPartOfTheWord)
{
    EXPECT_THAT(decoded(qvmAddCacheConfiguration, 0x0180U),
                ElementsAre("d:Cache Configuration:384",
                            "s:Cache operation:Write Back", "s:Cache:Enabled ",
                            "s:Cache Type:Internal", "s:Socketed:False",
                            "d:Cache Level:1"));
    EXPECT_THAT(decoded(qvmAddCacheConfiguration, 0x036FU),
                ElementsAre("d:Cache Configuration:879",
                            "s:Cache operation:Unknown", "s:Cache:Disabled",
                            "s:Cache Type:Unknown", "s:Socketed:True",
                            "d:Cache Level:8"));
}

TEST(CacheConfiguration, OnlyTheFirstReservedBitIsReported)
{
    EXPECT_THAT(decoded(qvmAddCacheConfiguration, 0xC010U),
                ElementsAre("d:Cache Configuration:49168",
                            "s:Notice:Error, reserved BIT 15 must be zero",
                            "s:Cache operation:Write Through",
                            "s:Cache:Disabled", "s:Cache Type:Internal",
                            "s:Socketed:False", "d:Cache Level:1"));
    EXPECT_THAT(decoded(qvmAddCacheConfiguration, 0x0410U)[1],
                "s:Notice:Error, reserved BIT 10 must be zero");
    EXPECT_THAT(decoded(qvmAddCacheConfiguration, 0x0010U)[1],
                "s:Notice:Error, reserved BIT 4 must be zero");
}
