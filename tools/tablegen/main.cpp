// qvm-sample-table FILE: writes the bundled sample SMBIOS table to FILE.
#include "tablegen/sample_table.hpp"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("Usage: qvm-sample-table FILE\n", stderr);
        return 2;
    }
    const tablegen::Bytes table = tablegen::sampleTable().build();
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool written =
        out != nullptr &&
        std::fwrite(table.data(), 1, table.size(), out) == table.size();
    if (out == nullptr || std::fclose(out) != 0 || !written)
    {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
