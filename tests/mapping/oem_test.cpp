// The OEM types 225 and 226.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>

using namespace qvmtest;

// The map's version is followed by its whole structure, strings included,
// as hex lines: nine entries and two strings make 61 bytes, two lines.
TEST(OemMappings, FullStructuresFieldByField)
{
    auto map = StructureBuilder(225, 41, 0xE100).u8(4, 1);
    for (std::uint8_t e = 0; e < 9; ++e)
        map.bytes(5 + 4 * e, {1, e, 0x11, 0x11});
    const Bytes whole = map.string("Board.Memory.A0").string("B0").build();
    expectFullStructures(
        {
            {map, join({decoded(qvmAddStructureTypeE1Info, 225U),
                        {"d:Table E1 Version:1"},
                        decoded(DumpHex, 61U, whole.data())})},
            {StructureBuilder(226, 13, 0xE200)
                 .u16(4, 0x1102)
                 .string(6, "2.1")
                 .u32(7, 0x00C00002)
                 .u16(11, 0x4432),
             join({decoded(qvmAddStructureTypeE2Info, 226U),
                   {"d:Type17 Table Handle:4354", "s:Firmware Version:2.1",
                    "d:Component ID:12582914", "d:Product ID:17458"}})},
        },
        v(3, 2));
    // Without its string the firmware version is left out, not empty.
    expectProbes({
        {StructureBuilder(226, 13, 0xE200), v(3, 2), "!Firmware Version"},
        {StructureBuilder(226, 13, 0xE200).u8(6, 2).string("x"), v(3, 2),
         "!Firmware Version"},
    });
}
