#include "generation_tables.hpp"

#include "table_builder.hpp"

namespace qvmtest
{
namespace
{

using tablegen::StructureBuilder;
using tablegen::TableBuilder;
using Version = qvm::decode::SmbiosVersion;

bool atLeast(Version v, int major, int minor)
{
    return v.atLeast(static_cast<std::uint8_t>(major),
                     static_cast<std::uint8_t>(minor));
}

// The BIOS release bytes say 1.9 whatever the table's version, so that a
// gate that read them would show.
StructureBuilder bios(Version v)
{
    const bool v31 = atLeast(v, 3, 1);
    StructureBuilder s(0, v31 ? 0x1A : 0x18, 0x0000);
    s.string(4, "Firmware Maker").string(5, "1.9.0").u16(6, 0xE800);
    s.string(8, "04/01/2024").u8(9, v31 ? 0xFF : 0x3F).u64(10, 0x08);
    s.u8(20, 1).u8(21, 9).u8(22, 0xFF).u8(23, 0xFF);
    if (v31)
        s.u16(24, 0x4010); // 16 GiB, "see extended"
    return s;
}

StructureBuilder system(Version v)
{
    StructureBuilder s(1, atLeast(v, 2, 4) ? 0x1B : 0x19, 0x0001);
    s.string(4, "Board Maker").string(5, "Server 9").string(6, "A1");
    s.string(7, "SN0001").u8(24, 6);
    for (std::uint8_t i = 0; i < 16; ++i)
        s.u8(8 + i, static_cast<std::uint8_t>(0x10 + i));
    if (atLeast(v, 2, 4))
        s.string(25, "SKU-9").string(26, "Rack");
    return s;
}

// Nine bytes before 2.7: the fields after the asset tag are not there.
StructureBuilder baseboard(Version v)
{
    const bool full = atLeast(v, 2, 7);
    StructureBuilder s(2, full ? 0x0F : 0x09, 0x0002);
    s.string(4, "Board Maker").string(5, "Board 9").string(6, "B1");
    s.string(7, "BSN01").string(8, "Tag");
    if (full)
        s.u8(9, 0x09).string(10, "Slot A").u16(11, 0x0003).u8(13, 0x0A);
    return s;
}

StructureBuilder chassis(Version v)
{
    const bool sku = atLeast(v, 2, 7);
    StructureBuilder s(3, sku ? 0x16 : 0x15, 0x0003);
    s.string(4, "Case Maker").u8(5, 0x97).string(6, "C1").string(7, "CSN");
    s.string(8, "CTag").u8(9, 3).u8(10, 4).u8(11, 5).u8(12, 3).u8(17, 2);
    if (sku)
        s.u8(19, 0).u8(20, 3).string(21, "CSKU");
    return s;
}

StructureBuilder processor(Version v)
{
    const bool v30 = atLeast(v, 3, 0);
    const std::uint8_t length = v30 ? 0x30 : (atLeast(v, 2, 6) ? 0x2A : 0x23);
    StructureBuilder s(4, length, 0x0004);
    s.string(4, "CPU0").u8(5, 3).u8(6, 0xB3).string(7, "Chip Maker");
    s.u64(8, 0xBFEBFBFF000306F2ULL).string(16, "Chip 9").u8(17, 0x8A);
    s.u16(18, 100).u16(20, 4000).u16(22, 2600).u8(24, 0x41).u8(25, 0x2B);
    s.u16(26, 0x0007).u16(28, 0x0008).u16(30, 0xFFFF);
    s.string(32, "CSN0").u8(33, 0).string(34, "PN0");
    if (length >= 0x2A)
        s.u8(35, 12).u8(36, 12).u8(37, 24).u16(38, 0xEC).u16(40, 0xB3);
    if (v30) // more cores than a byte counts
        s.u8(35, 0xFF).u8(36, 0xFF).u8(37, 0xFF).u16(42, 300).u16(44, 290).u16(
            46, 580);
    return s;
}

StructureBuilder cache(Version v, std::uint16_t handle)
{
    const bool v31 = atLeast(v, 3, 1);
    StructureBuilder s(7, v31 ? 0x1B : 0x13, handle);
    s.string(4, "L1").u16(5, 0x0180).u16(7, 0x8200).u16(9, 0x0100);
    s.u16(11, 0x0002).u16(13, 0x0002).u8(16, 5).u8(17, 4).u8(18, 7);
    if (v31) // a size only the double word can say
        s.u16(7, 0xFFFF).u32(19, 0x80008000).u16(9, 0xFFFF).u32(23, 0x00100000);
    return s;
}

StructureBuilder portConnector()
{
    return StructureBuilder(8, 0x09, 0x0010)
        .string(4, "J1")
        .u8(5, 0x22)
        .string(6, "USB 1")
        .u8(7, 0x12)
        .u8(8, 0x10);
}

StructureBuilder onboardDevices()
{
    return StructureBuilder(10, 0x08, 0x0011)
        .u8(4, 0x83)
        .string(5, "Video")
        .u8(6, 0x05)
        .u8(7, 0); // no description
}

StructureBuilder oemStrings()
{
    return StructureBuilder(11, 0x05, 0x0012)
        .u8(4, 3)
        .string("first")
        .string("second")
        .string("third");
}

StructureBuilder options()
{
    return StructureBuilder(12, 0x05, 0x0013)
        .u8(4, 2)
        .string("JP1: clear")
        .string("JP2: keep");
}

StructureBuilder group()
{
    return StructureBuilder(14, 0x0B, 0x0014)
        .string(4, "Pair")
        .u8(5, 4)
        .u16(6, 0x0004)
        .u8(8, 7)
        .u16(9, 0x0007);
}

StructureBuilder memoryArray(Version v)
{
    const bool v27 = atLeast(v, 2, 7);
    StructureBuilder s(16, v27 ? 0x17 : 0x0F, 0x0020);
    s.u8(4, 3).u8(5, 3).u8(6, 6).u16(11, 0xFFFE).u16(13, 2);
    s.u32(7, v27 ? 0x80000000U : 0x00400000U);
    if (v27)
        s.u64(15, 3ULL << 40); // 3 TiB, "see extended"
    return s;
}

// 21 bytes before 2.3: no speed, no strings after the bank locator.
StructureBuilder memoryDevice(Version v, std::uint16_t handle)
{
    std::uint8_t length = 0x15;
    if (atLeast(v, 3, 4))
        length = 0x5C;
    else if (atLeast(v, 2, 8))
        length = 0x28;
    else if (atLeast(v, 2, 7))
        length = 0x22;
    StructureBuilder s(17, length, handle);
    s.u16(4, 0x0020).u16(6, 0xFFFE).u16(8, 72).u16(10, 64).u16(12, 8192);
    s.u8(14, 9).string(16, "DIMM 0").string(17, "BANK 0").u8(18, 0x1A);
    s.u16(19, 0x0080);
    if (length < 0x1B)
        return s;
    s.u16(21, 2400).string(23, "Mem Maker").string(24, "MSN").u8(25, 0);
    s.string(26, "MPN").u8(27, 2);
    if (length < 0x22)
        return s;
    s.u16(12, 0x7FFF).u32(28, 32768).u16(32, 2133);
    if (length < 0x28)
        return s;
    s.u16(34, 1200).u16(36, 1200).u16(38, 1200);
    if (length < 0x5C)
        return s;
    s.u8(40, 3).u16(41, 0x0008).string(43, "FW1").u16(44, 0x2C80);
    s.u16(46, 0x1234).u16(48, 0).u16(50, 0).u64(52, 0);
    s.u64(60, 32ULL << 30).u64(68, 0).u64(76, ~0ULL);
    s.u16(21, 0xFFFF).u32(84, 4800).u16(32, 0xFFFF).u32(88, 4400);
    return s;
}

StructureBuilder arrayMappedAddress(Version v)
{
    const bool v27 = atLeast(v, 2, 7);
    StructureBuilder s(19, v27 ? 0x1F : 0x0F, 0x0030);
    s.u32(4, 0).u32(8, 0x003FFFFF).u16(12, 0x0020).u8(14, 2);
    if (v27)
        s.u32(4, 0xFFFFFFFF)
            .u32(8, 0xFFFFFFFF)
            .u64(15, 0)
            .u64(23, (3ULL << 40) - 1);
    return s;
}

StructureBuilder additionalInformation()
{
    return StructureBuilder(40, 0x0F, 0x0040)
        .u8(4, 2)
        .u8(5, 5)
        .u16(6, 0x0004)
        .u8(8, 0x10)
        .string(9, "first")
        .u8(10, 5)
        .u16(11, 0x0020)
        .u8(13, 0x04)
        .string(14, "second");
}

StructureBuilder processorAdditional()
{
    return StructureBuilder(44, 0x0C, 0x0044)
        .u16(4, 0x0004)
        .u8(6, 4)
        .u8(7, 7)
        .u32(8, 0x00000101);
}

StructureBuilder firmwareInventory()
{
    return StructureBuilder(45, 0x1C, 0x0045)
        .string(4, "BMC")
        .string(5, "2.10")
        .u8(6, 1)
        .string(7, "fw-id")
        .u8(8, 0)
        .string(9, "2024-04-01")
        .string(10, "Firmware Maker")
        .string(11, "2.0")
        .u64(12, ~0ULL)
        .u16(20, 0x0001)
        .u8(22, 4)
        .u8(23, 2)
        .u16(24, 0x0004)
        .u16(26, 0x0020);
}

std::vector<std::uint8_t> build(Version v)
{
    TableBuilder t;
    t.add(bios(v)).add(system(v)).add(baseboard(v)).add(chassis(v));
    t.add(processor(v)).add(cache(v, 0x0007)).add(cache(v, 0x0008));
    if (!atLeast(v, 2, 7))
        t.add(StructureBuilder(5, 0x13, 0x0005)
                  .u8(4, 3)
                  .u8(5, 0x04)
                  .u8(6, 3)
                  .u8(7, 3)
                  .u8(8, 0x0A)
                  .u16(9, 0x0004)
                  .u16(11, 0x0004)
                  .u8(13, 0x02)
                  .u8(14, 2)
                  .u16(15, 0x0006)
                  .u16(17, 0x0009))
            .add(StructureBuilder(6, 0x0C, 0x0006)
                     .string(4, "SOCKET 0")
                     .u8(5, 0x01)
                     .u8(6, 60)
                     .u16(7, 0x0100)
                     .u8(9, 0x8A)
                     .u8(10, 0x09));
    t.add(portConnector()).add(onboardDevices()).add(oemStrings());
    t.add(options()).add(group()).add(memoryArray(v));
    t.add(memoryDevice(v, 0x0021)).add(memoryDevice(v, 0x0022));
    t.add(arrayMappedAddress(v));
    if (atLeast(v, 3, 0))
        t.add(additionalInformation());
    if (atLeast(v, 3, 4))
        t.add(processorAdditional()).add(firmwareInventory());
    t.add(StructureBuilder(127, 4, 0xFEFF));
    return t.build();
}

} // namespace

std::vector<GenerationTable> generationTables()
{
    return {
        {"smbios-2.3", {2, 3}, build({2, 3}), "2.2"},
        {"smbios-2.7", {2, 7}, build({2, 7}), "2.7"},
        {"smbios-3.0", {3, 0}, build({3, 0}), "3.0"},
        {"smbios-3.4", {3, 4}, build({3, 4}), "3.3"},
    };
}

} // namespace qvmtest
