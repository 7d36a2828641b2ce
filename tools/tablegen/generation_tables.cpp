// Every maker, model, serial number and UUID here is made up.
#include "tablegen/generation_tables.hpp"

namespace tablegen
{
namespace
{

// A generation's layout choices: the version and, for the types whose
// layout grew, the length that version gives them.
struct Generation
{
    std::uint8_t major;
    std::uint8_t minor;
    std::uint8_t bios;
    std::uint8_t system;
    std::uint8_t processor;
    std::uint8_t memoryArray;
    std::uint8_t memoryDevice;
    std::uint8_t arrayMapping;
    std::uint8_t cache;
    std::uint8_t slot;

    bool atLeast(std::uint8_t wantMajor, std::uint8_t wantMinor) const
    {
        return major > wantMajor || (major == wantMajor && minor >= wantMinor);
    }
};

constexpr Generation kGenerations[] = {
    {2, 3, 0x14, 0x19, 0x23, 0x0F, 0x1B, 0x0F, 0x13, 0x0D},
    {2, 7, 0x18, 0x1B, 0x2A, 0x17, 0x22, 0x1F, 0x13, 0x11},
    {3, 0, 0x18, 0x1B, 0x30, 0x17, 0x28, 0x1F, 0x13, 0x11},
    {3, 4, 0x1A, 0x1B, 0x30, 0x17, 0x5C, 0x1F, 0x1B, 0x17},
};

constexpr std::uint64_t kGiB = 1024ULL * 1024 * 1024;

StructureBuilder bios(const Generation& g)
{
    StructureBuilder s(0, g.bios, handle(0));
    s.string(4, "Acme Firmware")
        .string(5, "R" + std::to_string(g.major) + std::to_string(g.minor))
        .u16(6, 0xE800)
        .string(8, "06/30/2025")
        .u64(10, 0x1'4B98'0080ULL)
        .u8(0x12, 0x03);
    if (g.bios >= 0x18)
        s.u8(0x13, 0x0D)
            .u8(0x14, g.major)
            .u8(0x15, g.minor)
            .u8(0x16, 0xFF)
            .u8(0x17, 0xFF);
    // From 3.1 the ROM size can say "see the extended field" (0xFF).
    if (g.bios >= 0x1A)
        s.u8(9, 0xFF).u16(0x18, 32); // 32 MB (unit bits 15:14 = MB)
    else
        s.u8(9, 0x7F);
    return s;
}

StructureBuilder systemInfo(const Generation& g)
{
    StructureBuilder s(1, g.system, handle(1));
    s.string(4, "Acme")
        .string(5, "Anvil " + std::to_string(g.major) + "." +
                       std::to_string(g.minor))
        .string(6, "Rev B")
        .string(7, "ANV" + std::to_string(g.major * 10 + g.minor))
        .bytes(8, {0x33, 0x22, 0x11, 0x00, 0x55, 0x44, 0x77, 0x66, 0x88, 0x99,
                   0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF})
        .u8(0x18, 6);
    if (g.system >= 0x1B)
        s.string(0x19, "ANV-SKU-1").string(0x1A, "Anvil");
    return s;
}

// Nine bytes: no board type, no contained handles, as old boards had.
StructureBuilder shortBaseboard()
{
    return StructureBuilder(2, 9, handle(2))
        .string(4, "Acme")
        .string(5, "Anvil Board")
        .string(6, "1.0")
        .string(7, "BRD0001");
}

StructureBuilder chassis()
{
    return StructureBuilder(3, 0x15, handle(3))
        .string(4, "Acme")
        .u8(5, 0x97) // rack mount chassis, locked

        .string(7, "CHS0001")
        .u8(9, 3)
        .u8(0x0A, 3)
        .u8(0x0B, 3)
        .u8(0x0C, 3)
        .u8(0x11, 1)
        .u8(0x12, 2);
}

StructureBuilder processor(const Generation& g, int socket)
{
    StructureBuilder s(4, g.processor, handle(4, socket));
    s.string(4, "CPU" + std::to_string(socket))
        .u8(5, 3)
        .u8(6, g.atLeast(2, 6) ? 0xFE : 0xB3)
        .string(7, "Acme Silicon")
        .u64(8, 0x0000'FBFF'0005'06F1ULL)
        .string(0x10, "Acme A9 @ 2.40GHz")
        .u8(0x11, 0x8C)
        .u16(0x12, 100)
        .u16(0x14, 4000)
        .u16(0x16, socket == 0 ? 2400 : 0)
        .u8(0x18, socket == 0 ? 0x41 : 0x00)
        .u8(0x19, 0x3F)
        .u16(0x1A, handle(7, 0))
        .u16(0x1C, 0xFFFF)
        .u16(0x1E, 0xFFFF);
    if (g.processor >= 0x23)
        s.string(0x20, "PSN" + std::to_string(socket)).string(0x22, "A9-2400");
    if (g.processor >= 0x28)
        s.u8(0x23, 16).u8(0x24, 16).u8(0x25, 32).u16(0x26, 0xEC);
    if (g.processor >= 0x2A)
        s.u16(0x28, 0x101); // family word: ARMv8
    if (g.processor >= 0x30)
        s.u16(0x2A, 16).u16(0x2C, 16).u16(0x2E, 32);
    return s;
}

// From 3.1 the sizes have dwords of their own (here the same 1 MiB).
StructureBuilder cache(const Generation& g)
{
    StructureBuilder s(7, g.cache, handle(7));
    s.string(4, "L1")
        .u16(5, 0x180)
        .u16(7, 0x8010)
        .u16(9, 0x8010)
        .u8(0x10, 5)
        .u8(0x11, 5)
        .u8(0x12, 8);
    if (g.cache >= 0x1B)
        s.u32(0x13, 0x8000'0010).u32(0x17, 0x8000'0010);
    return s;
}

// Repeated fields, each of which a keyed export keeps only once.
StructureBuilder onboardDevices()
{
    return StructureBuilder(10, 4 + 3 * 2, handle(10))
        .u8(4, 0x83)
        .string(5, "Video")
        .u8(6, 0x85)
        .string(7, "NIC 1")
        .u8(8, 0x05)
        .string(9, "NIC 2");
}

StructureBuilder oemStrings()
{
    return StructureBuilder(11, 5, handle(11))
        .u8(4, 4)
        .string("Acme OEM string one")
        .string("build=4711")
        .string("   spaced   ")
        .string("last");
}

StructureBuilder options()
{
    return StructureBuilder(12, 5, handle(12))
        .u8(4, 3)
        .string("J1: clear CMOS")
        .string("J2: recovery")
        .string("J3: boot block");
}

StructureBuilder groupAssociations()
{
    return StructureBuilder(14, 5 + 3 * 3, handle(14))
        .string(4, "Compute")
        .u8(5, 4)
        .u16(6, handle(4, 0))
        .u8(8, 4)
        .u16(9, handle(4, 1))
        .u8(0x0B, 7)
        .u16(0x0C, handle(7));
}

// Bus addresses from 2.6; data bus width, no peer groups and the slot's
// physical width and pitch from 3.4.
StructureBuilder slot(const Generation& g)
{
    StructureBuilder s(9, g.slot, handle(9));
    s.string(4, "PCIe 1")
        .u8(5, 0xB6)
        .u8(6, 0x0D)
        .u8(7, 3)
        .u8(8, 4)
        .u16(9, 1)
        .u8(0x0B, 0x04)
        .u8(0x0C, 0x03);
    if (g.slot >= 0x11)
        s.u16(0x0D, 0).u8(0x0F, 0x17).u8(0x10, 0);
    if (g.slot >= 0x17)
        s.u8(0x11, 0x0D).u8(0x12, 0).u8(0x13, 4).u8(0x14, 0x0D).u16(0x15, 2000);
    return s;
}

// 3 TB of capacity: too large for the dword of KiB, which says "see the
// extended field" (0x80000000) from 2.7 on.
StructureBuilder memoryArray(const Generation& g)
{
    StructureBuilder s(16, g.memoryArray, handle(16));
    s.u8(4, 3).u8(5, 3).u8(6, 6).u16(0x0B, 0xFFFE).u16(0x0D, 3);
    if (g.memoryArray >= 0x17)
        s.u32(7, 0x8000'0000).u64(0x0F, 3 * 1024 * kGiB);
    else
        s.u32(7, 0x0100'0000); // 16 GiB in KiB
    return s;
}

StructureBuilder memoryDevice(const Generation& g, std::uint8_t length,
                              int instance, std::uint16_t size)
{
    StructureBuilder s(17, length, handle(17, instance));
    s.u16(4, handle(16))
        .u16(6, 0xFFFE)
        .u16(8, 72)
        .u16(0x0A, 64)
        .u16(0x0C, size)
        .u8(0x0E, 9)
        .string(0x10, "DIMM " + std::to_string(instance))
        .string(0x11, "BANK " + std::to_string(instance))
        .u8(0x12, g.atLeast(3, 0) ? 0x1A : 0x18)
        .u16(0x13, 0x0080);
    if (length >= 0x1B)
        s.u16(0x15, 2400)
            .string(0x17, "Acme Memory")
            .string(0x18, "SN" + std::to_string(1000 + instance))
            .string(0x1A, "AM-32G");
    if (length >= 0x1C)
        s.u8(0x1B, 2);
    if (length >= 0x22)
        s.u32(0x1C, size == 0x7FFF ? 64 * 1024 : 0).u16(0x20, 2133);
    if (length >= 0x28)
        s.u16(0x22, 1200).u16(0x24, 1200).u16(0x26, 1200);
    if (length >= 0x54)
        s.u8(0x28, 3)        // DRAM
            .u16(0x29, 0x08) // volatile memory
            .string(0x2B, "FW 1.2")
            .u16(0x2C, 0x2C80)
            .u16(0x2E, 0x1234)
            .u16(0x30, 0x3D80)
            .u16(0x32, 0x5678)
            .u64(0x34, 0)
            .u64(0x3C, 64 * kGiB)
            .u64(0x44, 0)
            .u64(0x4C, 0);
    if (length >= 0x5C)
        s.u32(0x54, 0).u32(0x58, 0);
    return s;
}

StructureBuilder arrayMapping(const Generation& g)
{
    StructureBuilder s(19, g.arrayMapping, handle(19));
    s.u16(0x0C, handle(16)).u8(0x0E, 2);
    if (g.arrayMapping >= 0x1F)
        s.u32(4, 0xFFFF'FFFF)
            .u32(8, 0xFFFF'FFFF)
            .u64(0x0F, 0)
            .u64(0x17, 3 * 1024 * kGiB - 1);
    else
        s.u32(4, 0).u32(8, 0x00FF'FFFF);
    return s;
}

// Processor additional information for the first socket: a block of
// processor-type-specific bytes after a two-byte header.
StructureBuilder processorAdditional()
{
    return StructureBuilder(44, 6 + 2 + 4, handle(44))
        .u16(4, handle(4, 0))
        .u8(6, 4)
        .u8(7, 0x07) // ARM
        .bytes(8, {0x01, 0x02, 0x03, 0x04});
}

StructureBuilder firmwareInventory()
{
    return StructureBuilder(45, 0x18 + 2 * 2, handle(45))
        .string(4, "BMC firmware")
        .string(5, "2.14.1")
        .u8(6, 1)
        .string(7, "bmc-fw")
        .u8(8, 0)
        .string(9, "2025-06-30")
        .string(0x0A, "Acme")
        .string(0x0B, "2.10.0")
        .u64(0x0C, 64ULL * 1024 * 1024)
        .u16(0x14, 0x0003)
        .u8(0x16, 3)
        .u8(0x17, 2)
        .u16(0x18, handle(4, 0))
        .u16(0x1A, handle(4, 1));
}

TableBuilder generationTable(const Generation& g)
{
    TableBuilder t;
    t.add(bios(g)).add(systemInfo(g)).add(shortBaseboard()).add(chassis());
    t.add(processor(g, 0)).add(processor(g, 1)).add(cache(g)).add(slot(g));
    t.add(onboardDevices()).add(oemStrings()).add(options());
    t.add(groupAssociations()).add(memoryArray(g));
    // A 2.1 layout among newer ones: 21 bytes, no speed or strings after.
    t.add(memoryDevice(g, 0x15, 0, 16 * 1024));
    t.add(memoryDevice(g, g.memoryDevice, 1,
                       g.memoryDevice >= 0x22 ? 0x7FFF : 16 * 1024));
    t.add(arrayMapping(g));
    t.add(StructureBuilder(32, 0x0B, handle(32)));
    if (g.atLeast(3, 4))
        t.add(processorAdditional()).add(firmwareInventory());
    return t.add(StructureBuilder(127, 4, handle(127)));
}

// Every processor family code (byte, then word through 0xFE), the two
// codes read with the manufacturer, and every enclosure type.
TableBuilder codeTable()
{
    TableBuilder t;
    int instance = 0;
    auto processorWith =
        [&](std::uint8_t family, std::uint16_t family2, const char* maker)
    {
        t.add(StructureBuilder(4, 0x30, static_cast<std::uint16_t>(instance++))
                  .u8(6, family)
                  .string(7, maker)
                  .u16(0x28, family2));
    };
    for (int code = 0; code <= 0xFF; ++code)
        processorWith(static_cast<std::uint8_t>(code), 0, "Acme");
    for (int code = 0x100; code < 0x300; ++code)
        processorWith(0xFE, static_cast<std::uint16_t>(code), "Acme");
    for (const char* maker : {"Intel", "intel corp", "AMD", "Acme"})
    {
        processorWith(0xBE, 0, maker);
        processorWith(0x30, 0, maker);
    }
    for (int code = 0; code <= 0xFF; ++code)
        t.add(StructureBuilder(3, 0x15, static_cast<std::uint16_t>(instance++))
                  .u8(5, static_cast<std::uint8_t>(code)));
    return t.add(
        StructureBuilder(127, 4, static_cast<std::uint16_t>(instance)));
}

} // namespace

std::vector<GenerationTable> generationTables()
{
    std::vector<GenerationTable> tables;
    for (const Generation& g : kGenerations)
        tables.push_back({"smbios-" + std::to_string(g.major) + "." +
                              std::to_string(g.minor),
                          g.major, g.minor, generationTable(g)});
    tables.push_back({"codes-2.0", 2, 0, codeTable()});
    tables.push_back({"codes-2.7", 2, 7, codeTable()});
    return tables;
}

} // namespace tablegen
