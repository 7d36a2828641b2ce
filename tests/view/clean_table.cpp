#include "clean_table.hpp"

namespace qvmtest::clean
{

StructureBuilder memoryArray(std::uint8_t length)
{
    return StructureBuilder(16, length, handle(16))
        .u8(4, 3)
        .u8(5, 3)
        .u8(6, 3)
        .u16(0x0B, 0xFFFE)
        .u16(0x0D, 1);
}

StructureBuilder memoryDevice(std::uint8_t length, const std::string& serial)
{
    return StructureBuilder(17, length, handle(17))
        .u16(4, handle(16))
        .u16(6, 0xFFFE)
        .u8(0x0E, 9)
        .string(0x10, "DIMM A0")
        .u8(0x12, 0x1A)
        .u16(0x13, 0x80)
        .string(0x18, serial);
}

namespace
{

StructureBuilder cache(int level)
{
    return StructureBuilder(7, 0x13, handle(7, level))
        .string(4, "L" + std::to_string(level))
        .u16(5, static_cast<std::uint16_t>(0x180 | (level - 1)))
        .u8(0x10, 5)
        .u8(0x11, 5)
        .u8(0x12, 8);
}

} // namespace

Structures structures()
{
    Structures s;
    s.push_back(StructureBuilder(0, 0x18, handle(0))
                    .string(4, "Maker")
                    .string(5, "1.0")
                    .string(8, "01/02/2026")
                    .u8(0x14, 3)
                    .u8(0x15, 0));
    s.push_back(StructureBuilder(1, 0x1B, handle(1))
                    .string(4, "Maker")
                    .string(5, "Model")
                    .u8(0x18, 6));
    s.push_back(StructureBuilder(3, 0x15, handle(3))
                    .string(4, "Maker")
                    .u8(5, 0x17)
                    .u8(9, 3)
                    .u8(0x0A, 3)
                    .u8(0x0B, 3)
                    .u8(0x0C, 3));
    s.push_back(StructureBuilder(4, 0x30, handle(4))
                    .string(4, "CPU0")
                    .u8(5, 3)
                    .u8(6, 0xB3)
                    .string(7, "Maker")
                    .u8(0x18, 0x41)
                    .u16(0x1A, handle(7, 1))
                    .u16(0x1C, handle(7, 2))
                    .u16(0x1E, handle(7, 3)));
    for (int level = 1; level <= 3; ++level)
        s.push_back(cache(level));
    s.push_back(StructureBuilder(9, 0x11, handle(9))
                    .string(4, "SLOT1")
                    .u8(5, 0xA5)
                    .u8(7, 3)
                    .u8(8, 4));
    s.push_back(memoryArray(0x17));
    s.push_back(memoryDevice(0x28));
    s.push_back(StructureBuilder(19, 0x1F, handle(19))
                    .u16(0x0C, handle(16))
                    .u8(0x0E, 1));
    s.push_back(StructureBuilder(32, 0x0B, handle(32)));
    s.push_back(StructureBuilder(127, 4, 0xFEFF));
    return s;
}

Bytes join(const Structures& structures)
{
    TableBuilder table;
    for (const auto& s : structures)
        table.add(s);
    return table.build();
}

} // namespace qvmtest::clean
