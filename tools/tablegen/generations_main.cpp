// qvm-generation-tables DIR: writes the generation test tables to DIR, one
// NAME.dumpbin each in the dump layout (entry point at 0, table at 0x20)
// with the entry point of the table's version.
#include "smbios/entry_point.hpp"
#include "tablegen/entry_point_bytes.hpp"
#include "tablegen/generation_tables.hpp"

#include <cstdio>
#include <optional>
#include <string>

namespace
{

// A 32-bit entry point before 3.0, a 64-bit one from 3.0 on; the dump
// image fills in the table's address and the checksums.
std::optional<qvm::smbios::EntryPoint>
entryPoint(const tablegen::GenerationTable& generation)
{
    return qvm::smbios::readEntryPoint(tablegen::entryPointBytes(
        generation.major >= 3, generation.major, generation.minor,
        static_cast<std::uint32_t>(generation.table.size()),
        static_cast<std::uint16_t>(generation.table.count())));
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
        const auto image = qvm::smbios::dumpImage(entryPoint(generation),
                                                  generation.table.build());
        if (!tablegen::writeFile(image, path.c_str()))
        {
            std::perror(path.c_str());
            return 1;
        }
    }
    return 0;
}
