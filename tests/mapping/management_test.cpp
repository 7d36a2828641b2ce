// The management types 34 to 36, 38 and 42.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>

using namespace qvmtest;

TEST(ManagementMappings, FullStructuresFieldByField)
{
    expectFullStructures(
        {
            {StructureBuilder(34, 11, 0x2200)
                 .string(4, "Inlet")
                 .bytes(5, {3, 0x78, 0x56, 0x34, 0x12, 5}),
             join({{"s:Description:Inlet"},
                   decoded(qvmAddMDType, 3U),
                   {"d:Address:305419896"},
                   decoded(qvmAddMDAddressType, 5U)})},
            {StructureBuilder(35, 11, 0x2300)
                 .string(4, "Inlet")
                 .bytes(5, {0x00, 0x22, 0x01, 0x1C, 0x02, 0x24}),
             {"s:Description:Inlet", "d:ManagementDeviceHandle:8704",
              "d:ComponentHandle:7169", "d:ThresholdHandle:9218"}},
            {StructureBuilder(36, 16, 0x2400)
                 .bytes(4, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 0xFF, 0xFF}),
             {"d:LowerThresholdNonCritical:257",
              "d:UpperThresholdNonCritical:514", "d:LowerThresholdCritical:771",
              "d:UpperThresholdCritical:1028",
              "d:LowerThresholdNonRecoverable:1285",
              "d:UpperThresholdNonRecoverable:65535"}},
            // The base address is read whole; bytes 16 and 17 are not shown.
            {StructureBuilder(38, 18, 0x2600)
                 .bytes(4, {1, 0x20, 0x22, 0xFF})
                 .u64(8, 0x0000000100000CA3)
                 .bytes(16, {0x10, 0x07}),
             join({decoded(qvmAddIPMIDIBMCInterfaceType, 1U),
                   {"d:IPMISpecificationRevision:32", "d:I2CSlaveAddress:34",
                    "d:NVStorageDeviceAddress:255",
                    "d:BaseAddress:4294970531"}})},
            {StructureBuilder(42, 16, 0x2A00).bytes(4, {0x40, 0x09}),
             decoded(qvmAddMCHostInterfaceType, 0x40U)},
        },
        v(3, 2));
}
