// Whole structures of the types the sample table does not hold, field by
// field, and the rows whose result depends on more than one field: string
// lookups, the event log's descriptors and its memory-mapped header.
#include "mapping/mapping_support.hpp"
#include "smbios/structure_json.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace qvmtest;

TEST(MappingStructures, TypesTheSampleTableLacks)
{
    auto error = StructureBuilder(18, 0x17, 0x1200).bytes(4, {3, 4, 3});
    error.u32(7, 0x11223344).u32(11, 0x80000000).u32(15, 0xABCDEF);
    auto error64 = StructureBuilder(33, 0x1F, 0x2100).bytes(4, {14, 3, 4});
    error64.u32(7, 0x11223344).u64(11, ~0ULL).u64(19, 0x123456789ULL);
    StructureBuilder battery(22, 0x1A, 0x1600);
    battery.string(4, "Rear").string(5, "Cellmaker").string(6, "03/15/2020");
    battery.string(7, "B-1").string(8, "Cache battery").u8(9, 6);
    battery.u16(10, 4800).u16(12, 11100).string(14, "3.1").u8(15, 5);
    // 15 March 2020; the chemistry string number is beyond the strings.
    battery.u16(16, 0x1234).u16(18, 40 << 9 | 3 << 5 | 15).u8(20, 9);
    battery.u8(21, 10).u32(22, 0xCAFEF00D);
    expectGolden(
        "structures",
        {error.u32(19, 0x40),
         StructureBuilder(21, 7, 0x1500).bytes(4, {5, 4, 2}), battery,
         // BCD bytes shown as plain integers.
         StructureBuilder(25, 9, 0x1900).bytes(4, {0x12, 0x31, 0x23, 0x59, 0}),
         StructureBuilder(30, 6, 0x1E00).string(4, "Remote Co").u8(5, 3),
         StructureBuilder(31, 0x1C, 0x1F00).u32(4, 0xFFFFFFFF).string("x"),
         // A 64-bit address of all ones comes out whole, as signed.
         error64.u32(27, 0x40),
         // String number 9 is beyond the set; the fields after it still
         // come from this structure.
         StructureBuilder(1, 8, 1)
             .string(4, "Maker")
             .string(5, "Server")
             .u8(6, 9)
             .string(7, "SN-1"),
         // A probe of length 0x14 reads its nominal value from the next two
         // table bytes: the start of its string set, "CP".
         StructureBuilder(26, 0x14, 0x1A00).string(4, "CPU0")},
        v(3, 2));
}

// The handle list repeats the header's key: the object keeps "Handle" in the
// header's place, holding the last handle listed.
TEST(MappingStructures, HandleListOverwritesTheHeaderHandle)
{
    const auto bytes = StructureBuilder(5, 20, 0x0500)
                           .u8(14, 2)
                           .u16(15, 0x0600)
                           .u16(17, 0x0601)
                           .build();
    const auto json = qvm::smbios::structureJson(
        qvm::smbios::StructureView(bytes), bytes.size(), {});
    EXPECT_THAT(json.text,
                testing::HasSubstr("\"Length\": 20,\n  \"Handle\": 1537,\n"));
}

// Descriptors with a log the mapping cannot reach end the conversion; the
// memory-mapped log's header sits at offset 16 + 9 = 25 (16 bytes), its data
// right after it. The descriptor's two bytes differ from each other and from
// byte 22.
TEST(EventLogMapping, DescriptorsAndTheMemoryMappedLog)
{
    auto log = StructureBuilder(15, 57, 0x0F).u16(4, 32).u16(6, 9).u16(8, 25);
    log.u8(10, 3).u8(20, 1).u8(21, 1).u8(22, 2).u8(23, 4).u8(24, 1);
    expectGolden("event_log",
                 {StructureBuilder(15, 23, 0x0F)
                      .u16(4, 0x100)
                      .u8(10, 4)
                      .u32(16, 0x12345678)
                      .u8(21, 0),
                  StructureBuilder(15, 25, 0x0F).u8(10, 4).u8(21, 1).u8(22, 2),
                  log.u8(25 + 15, 0x21)},
                 v(3, 0));
}
