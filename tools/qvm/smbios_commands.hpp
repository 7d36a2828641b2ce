// The commands of qvm smbios, registered by the files that hold them.
#pragma once

#include <CLI/App.hpp>
#include <cstdint>
#include <string>
#include <vector>

namespace qvmcli
{

// show and get: the decoded structures by type keyword or number, and
// single values by dmidecode's string keywords.
void addSmbiosViews(CLI::App& smbios);
// info and dump-bin: where the table came from, and writing it as a dump.
void addSmbiosTableCommands(CLI::App& smbios);

// The structure types that --type TEXT names: a number up to 255, or one
// of dmidecode's type keywords; throws UsageError otherwise.
std::vector<uint8_t> typesOf(const std::string& text);
inline constexpr char kTypeHelp[] =
    "a type number, or bios, system, baseboard, chassis, processor, memory, "
    "cache, connector or slot";

} // namespace qvmcli
