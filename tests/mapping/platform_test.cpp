// The field mappings of types 0 to 3 and 15: every gate just below and at
// its limit, computed rows, and string lookups that never move the
// structure.
#include "mapping/mapping_support.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qvmtest;
using testing::Contains;
using testing::ElementsAre;
using testing::IsSupersetOf;

namespace
{

StructureBuilder bios(std::uint8_t length)
{
    auto s = StructureBuilder(0, length, 0)
                 .string(4, "Vendor")
                 .string(5, "1.2.3")
                 .u16(6, 0xE800)
                 .string(8, "01/02/2026");
    const std::uint8_t releases[] = {2, 8, 3, 4};
    for (std::uint8_t i = 0; i < 4 && 20 + i < length; ++i)
        s.u8(20 + i, releases[i]);
    return s;
}

// SKU and family strings where the length reaches them.
StructureBuilder system(std::uint8_t length)
{
    auto s = StructureBuilder(1, length, 1);
    if (length > 25)
        s.string(25, "S");
    if (length > 26)
        s.string(26, "F");
    return s;
}

// Height and power cords where the length reaches them.
StructureBuilder chassis(std::uint8_t length)
{
    auto s = StructureBuilder(3, length, 3);
    if (length > 17)
        s.u8(17, 2);
    if (length > 18)
        s.u8(18, 1);
    return s;
}

} // namespace

TEST(Mapping, EveryGateJustBelowAndAtItsLimit)
{
    const auto sku = [](std::uint8_t length, std::uint8_t count)
    {
        return StructureBuilder(3, length, 3)
            .u8(19, count)
            .u8(20, 3)
            .string(21 + 3 * count, "SKU-C");
    };
    expectProbes({
        // Each BIOS extension byte needs the length to reach it.
        {bios(18), v(2, 3), "!BIOS Characteristics Extension Byte1"},
        {bios(19).u8(18, 1), v(2, 3), "s:ACPI supported:True"},
        {bios(19), v(2, 3), "!BIOS Characteristics Extension Byte2"},
        {bios(20).u8(19, 1), v(2, 3),
         "s:BIOS Boot Specification supported:True"},
        // BIOS release bytes need 2.4 and a length above 20.
        {bios(18), v(2, 3), "!ExtendedBiosSize"},
        {bios(0x18), v(2, 3), "!SystemBiosMajorRelease"},
        {bios(20), v(2, 4), "!SystemBiosMajorRelease"},
        {bios(21), v(2, 4), "d:SystemBiosMajorRelease:2"},
        {bios(24), v(2, 4), "d:SystemBiosMinorRelease:8"},
        {bios(24), v(2, 4), "d:EmbeddedControllerFirmwareMajorRelease:3"},
        {bios(24), v(2, 4), "d:EmbeddedControllerFirmwareMinorRelease:4"},
        // The extended size, in megabytes or gigabytes, needs 3.1 and a
        // length above 24. At length 25, byte 25 is the first string byte,
        // 'V' (0x56): 22 units of 256 and the gigabyte bit.
        {bios(26).u8(24, 0x10), v(3, 2), "s:ExtendedBiosSize:16 MB"},
        {bios(26).u8(24, 2).u8(25, 0x40), v(3, 2), "s:ExtendedBiosSize:2 GB"},
        {bios(26).u8(24, 0xFF).u8(25, 0xBF), v(3, 2),
         "s:ExtendedBiosSize:16383 GB"},
        {bios(25).u8(24, 1), v(3, 1), "s:ExtendedBiosSize:5633 GB"},
        {bios(24), v(3, 1), "!ExtendedBiosSize"},
        {bios(26), v(3, 0), "!ExtendedBiosSize"},
        {bios(26), v(2, 4), "!ExtendedBiosSize"},
        // System SKU and family need 2.4 and a length above 25; family sits
        // at offset 26, past a length of 26, and reads as string 0.
        {system(25), v(2, 4), "!SKUNumber"},
        {system(27), v(2, 3), "!Family"},
        {system(26), v(2, 4), "s:SKUNumber:S"},
        {system(26), v(2, 4), "s:Family:"},
        {system(27), v(2, 4), "s:Family:F"},
        // Chassis fields by version and length.
        {chassis(13), v(2, 8), "!OemDefined"},
        {chassis(14), v(2, 2), "!OemDefined"},
        {chassis(14), v(2, 3), "s:OemDefined:Dump: size= 4"},
        {chassis(14), v(2, 3), "!Height"},
        {chassis(18), v(2, 3), "d:Height:2"},
        {chassis(18), v(2, 3), "!NumberofPowerCords"},
        {chassis(19), v(2, 3), "d:NumberofPowerCords:1"},
        // The chassis SKU follows the contained elements: two elements of
        // three bytes put it at offset 27, which a length of 0x1B misses.
        {sku(0x16, 0), v(2, 7), "s:SKUNumber:SKU-C"},
        {sku(0x16, 0), v(2, 6), "!SKUNumber"},
        {sku(0x1C, 2), v(2, 7), "s:SKUNumber:SKU-C"},
        {StructureBuilder(3, 0x1B, 3).u8(19, 2).u8(20, 3), v(2, 7),
         "!SKUNumber"},
    });
}

TEST(BaseboardMapping, Length8StopsAfterTheSerialNumber)
{
    const auto board = StructureBuilder(2, 8, 2)
                           .string(4, "M")
                           .string(5, "P")
                           .string(6, "V")
                           .string(7, "S");
    EXPECT_THAT(fieldsOf(board, v(3, 0)),
                ElementsAre("s:Manufacturer:M", "s:ProductName:P",
                            "s:Version:V", "s:SerialNumber:S"));
}

TEST(StringRows, AMissingStringNeverMovesTheStructure)
{
    // String number 9 is beyond the set; the fields after it still come from
    // this structure.
    const auto fields = fieldsOf(StructureBuilder(1, 8, 1)
                                     .string(4, "Maker")
                                     .string(5, "Server")
                                     .u8(6, 9)
                                     .string(7, "SN-1"),
                                 v(2, 4));
    EXPECT_THAT(std::vector<std::string>(fields.begin(), fields.begin() + 4),
                ElementsAre("s:Manufacturer:Maker", "s:ProductName:Server",
                            "s:Version:", "s:SerialNumber:SN-1"));
}

TEST(EventLogMapping, NoDescriptorsWritesTheFieldsOnly)
{
    const auto log = StructureBuilder(15, 23, 0x0F)
                         .u16(4, 0x100)
                         .u8(10, 4)
                         .u32(16, 0x12345678)
                         .u8(21, 0);
    const auto result = mapped(log, v(3, 0));
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(keysOf(result.fields),
                IsSupersetOf({"LogAreaLength", "AccessMethodAddress",
                              "NumberOfSupportedLogTypeDescriptors"}));
    EXPECT_THAT(result.fields, Contains("d:AccessMethodAddress:305419896"));
}

TEST(EventLogMapping, DescriptorsWithAnUnreachableLogEndTheConversion)
{
    const auto log =
        StructureBuilder(15, 25, 0x0F).u8(10, 4).u8(21, 1).u8(22, 2);
    EXPECT_EQ(mapped(log, v(3, 0)).status, QVM_RC_FAILED);
}

TEST(EventLogMapping, MemoryMappedLogIsReadFromTheTableBytes)
{
    // Header at offset 16 + 9 = 25 (16 bytes), data right after it.
    auto log = StructureBuilder(15, 57, 0x0F)
                   .u16(4, 32)
                   .u16(6, 9)
                   .u16(8, 25)
                   .u8(10, 3)
                   .u8(20, 1)
                   .u8(21, 1)
                   .u8(22, 2)
                   .u8(23, 2)
                   .u8(24, 0);
    log.u8(25 + 15, 0x21);
    const auto result = mapped(log, v(3, 0));
    EXPECT_EQ(result.status, 0);
    EXPECT_THAT(result.fields, Contains("d:HeaderRevision:33"));
}
