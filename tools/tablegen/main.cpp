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
    if (!tablegen::writeFile(tablegen::sampleTable().build(), argv[1]))
    {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
