// Which SMBIOS table the smbios commands read, and loading it.
#pragma once

#include "cli.hpp"

#include <functional>
#include <string>

namespace qvmcli
{

// Where the kernel shows the machine's own structure table.
inline constexpr char kMachineTable[] = "/sys/firmware/dmi/tables/DMI";

// The bundled sample table: beside the program in the build tree, else in
// the data directory of the installation the program belongs to; empty when
// neither is there.
std::string sampleTablePath();

// --table FILE; without it the machine's table when readable, else the
// sample table; empty when there is none of them.
std::string chosenTable(const Args& args);

// Loads the chosen table, runs body on it and unloads it again. A table
// that cannot be had or loaded is reported under the command's title.
int withTable(const Args& args, const std::function<int()>& body);

} // namespace qvmcli
