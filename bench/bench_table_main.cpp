// qvm-bench-table STRUCTURES FILE: writes a large SMBIOS table of about
// STRUCTURES structures to FILE, for timing whole exports.
#include "bench_table.hpp"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long wanted = argc == 3 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (wanted <= 0 || wanted > qvmbench::kMostStructures)
    {
        std::fprintf(stderr,
                     "Usage: qvm-bench-table STRUCTURES FILE "
                     "(STRUCTURES from 1 to %ld)\n",
                     qvmbench::kMostStructures);
        return 2;
    }
    if (!tablegen::writeFile(qvmbench::benchTable(wanted), argv[2]))
    {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
