// Fields computed past a gate: values that gates.golden shows only for a
// structure of ones.
#include "mapping/mapping_support.hpp"

#include <gtest/gtest.h>

using namespace qvmtest;

namespace
{

StructureBuilder zeros(std::uint8_t type, std::uint8_t length)
{
    return StructureBuilder(type, length, type << 8);
}

// A processor whose family byte asks for the family word.
StructureBuilder wordFamily()
{
    return zeros(4, 48).u8(6, 0xFE).u16(40, 0x0101);
}

} // namespace

TEST(MappingGates, ComputedFieldsAtTheirGates)
{
    expectProbes({
        // At length 25, byte 25 is the first string byte, 'V' (0x56): 22
        // units of 256 and the gigabyte bit.
        {zeros(0, 25).u8(24, 1).string(4, "Vendor"), v(3, 1),
         "s:ExtendedBiosSize:5633 GB"},
        {zeros(0, 26).u8(24, 0x10), v(3, 2), "s:ExtendedBiosSize:16 MB"},
        {zeros(0, 26).u8(24, 2).u8(25, 0x40), v(3, 2),
         "s:ExtendedBiosSize:2 GB"},
        {zeros(0, 26).u8(24, 0xFF).u8(25, 0xBF), v(3, 2),
         "s:ExtendedBiosSize:16383 GB"},
        // The chassis SKU follows the contained elements, 3 bytes each.
        {zeros(3, 0x1C).u8(19, 2).u8(20, 3).string(27, "SKU-C"), v(2, 7),
         "s:SKUNumber:SKU-C"},
        {zeros(3, 0x1B).u8(19, 2).u8(20, 3), v(2, 7), "!SKUNumber"},
        // The family word needs 2.6, a length above 40 and the byte 0xFE.
        {wordFamily(), v(2, 6), "d:Processor Family :257"},
        {wordFamily(), v(2, 5), "d:Processor Family :254"},
        {shortened(wordFamily(), 40), v(2, 6), "d:Processor Family :254"},
        {wordFamily().u8(6, 2), v(3, 2), "d:Processor Family :2"},
        // The language dump is there whatever the length.
        {zeros(13, 4), v(3, 0), "s:Reserved:Dump: size= 15"},
        // Without its string the firmware version is left out, not empty.
        {zeros(226, 13), v(3, 2), "!Firmware Version"},
        {zeros(226, 13).u8(6, 2).string("x"), v(3, 2), "!Firmware Version"},
        {zeros(226, 13).string(6, "2.1"), v(3, 2), "s:Firmware Version:2.1"},
    });
}
