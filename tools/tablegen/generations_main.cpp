// qvm-generation-tables DIR: writes the generation test tables to DIR, one
// NAME.dumpbin each in the dump layout (entry point at 0, table at 0x20)
// with the entry point of the table's version.
#include "smbios/entry_point.hpp"
#include "tablegen/generation_tables.hpp"

#include <cstdio>
#include <cstring>
#include <string>

namespace
{

// A 32-bit entry point before 3.0, a 64-bit one from 3.0 on; the dump
// image fills in the table's address and the checksums.
qvm::smbios::EntryPoint entryPoint(const tablegen::GenerationTable& generation)
{
    const auto size = static_cast<std::uint32_t>(generation.table.size());
    const auto count = static_cast<std::uint16_t>(generation.table.count());
    qvm::smbios::EntryPoint ep;
    ep.major = generation.major;
    ep.minor = generation.minor;
    ep.tableLength = size;
    if (generation.major >= 3)
    {
        ep.is64 = true;
        ep.bytes = {'_', 'S', 'M', '3', '_', 0, 0x18, ep.major, ep.minor, 0, 1};
        ep.bytes.resize(0x18, 0);
        for (int i = 0; i < 4; ++i)
            ep.bytes[0x0C + i] = static_cast<std::uint8_t>(size >> (8 * i));
        return ep;
    }
    ep.bytes = {'_', 'S', 'M', '_', 0, 0x1F, ep.major, ep.minor};
    ep.bytes.resize(0x1F, 0);
    std::memcpy(&ep.bytes[0x10], "_DMI_", 5);
    ep.bytes[0x16] = static_cast<std::uint8_t>(size);
    ep.bytes[0x17] = static_cast<std::uint8_t>(size >> 8);
    ep.bytes[0x1C] = static_cast<std::uint8_t>(count);
    ep.bytes[0x1D] = static_cast<std::uint8_t>(count >> 8);
    ep.bytes[0x1E] = static_cast<std::uint8_t>(ep.major << 4 | ep.minor);
    return ep;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("Usage: qvm-generation-tables DIR\n", stderr);
        return 2;
    }
    for (const auto& generation : tablegen::generationTables())
    {
        const std::string path =
            std::string(argv[1]) + "/" + generation.name + ".dumpbin";
        const auto image =
            qvm::smbios::dumpImage(entryPoint(generation), generation.table.build());
        if (!tablegen::writeFile(image, path.c_str()))
        {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
