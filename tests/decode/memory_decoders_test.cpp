#include "decode/field_capture.hpp"
#include "qvmclient.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::decoded;

namespace
{

std::vector<std::string> moduleSizes(const char* largest, const char* maximum)
{
    return {std::string("d:The size of the largest memory module supported "
                        "(per slot) :") +
                largest,
            std::string("d:The maximum amount of memory supported by this "
                        "controller(MB) :") +
                maximum};
}

const char* const kSingle =
    "s:Connection:The memory module has a Single-bank connection";
const char* const kDual =
    "s:Connection:The memory module has a Double-bank connection";

} // namespace

TEST(MemoryDecoders, SizesHandlesAndBankConnections)
{
    const uint8_t handles[] = {0xEE, 0x34, 0x12, 0xFF, 0xFF, 0xEE};
    qvmtest::expectDecoded({
        // A power of two per slot and for all slots, taken in 64 bits;
        // exponents past them give 0.
        {decoded(qvmAddMaxMemoryModuleSize, 13U, 4U),
         moduleSizes("8192", "32768")},
        {decoded(qvmAddMaxMemoryModuleSize, 0U, 0U), moduleSizes("1", "0")},
        {decoded(qvmAddMaxMemoryModuleSize, 40U, 255U),
         moduleSizes("1099511627776", "280375465082880")},
        {decoded(qvmAddMaxMemoryModuleSize, 64U, 2U), moduleSizes("0", "0")},
        // The count, then each unaligned handle.
        {decoded(qvmAddMemoryModuleConfigHandles,
                 static_cast<const void*>(handles + 1), 2U),
         {"d:Handles' List controlled by this controller:2", "d:Handle:4660",
          "d:Handle:65535"}},
        {decoded(qvmAddMemoryModuleConfigHandles,
                 static_cast<const void*>(handles), 0U),
         {"d:Handles' List controlled by this controller:0"}},
        // No connection on the low nibble drops the low fields.
        {decoded(qvmAddMmBankConnections, 0x1FU),
         {"d:Bank Connections:31", "d:Banks High:1", "d:RAS# High:1"}},
        {decoded(qvmAddMmBankConnections, 0x23U),
         {"d:Bank Connections:35", "d:Banks High:2", "d:Banks Low:3",
          "d:RAS# High:2", "d:RAS# Low:3"}},
        {decoded(qvmAddMmBankConnections, 0xF0U),
         {"d:Bank Connections:240", "d:Banks High:15", "d:Banks Low:0",
          "d:RAS# High:15", "d:RAS# Low:0"}},
        // Size codes and the bank connection.
        {decoded(qvmAddMmMemorySize, 0x7FU),
         {"d:Memory Size:127", "d:Not installed:127", kSingle}},
        {decoded(qvmAddMmMemorySize, 0xFDU),
         {"d:Memory Size:253",
          "d:Memory Size Not determinable (Installed Size only):125", kDual}},
        {decoded(qvmAddMmMemorySize, 0x7EU),
         {"d:Memory Size:126",
          "d:Module is installed, but no memory has been enabled:126",
          kSingle}},
        {decoded(qvmAddMmMemorySize, 0x7CU),
         {"d:Memory Size:124", "d:Memory Size(MB):0", kSingle}},
    });
}

TEST(CacheConfiguration, EveryPartOfTheWordAndTheFirstReservedBit)
{
    qvmtest::expectDecoded({
        {decoded(qvmAddCacheConfiguration, 0x036FU),
         {"d:Cache Configuration:879", "s:Cache operation:Unknown",
          "s:Cache:Disabled", "s:Cache Type:Unknown", "s:Socketed:True",
          "d:Cache Level:8"}},
        {decoded(qvmAddCacheConfiguration, 0xC010U),
         {"d:Cache Configuration:49168",
          "s:Notice:Error, reserved BIT 15 must be zero",
          "s:Cache operation:Write Through", "s:Cache:Disabled",
          "s:Cache Type:Internal", "s:Socketed:False", "d:Cache Level:1"}},
    });
    EXPECT_EQ(decoded(qvmAddCacheConfiguration, 0x0410U).at(1),
              "s:Notice:Error, reserved BIT 10 must be zero");
    EXPECT_EQ(decoded(qvmAddCacheConfiguration, 0x0010U).at(1),
              "s:Notice:Error, reserved BIT 4 must be zero");
}
