// The commands of qvm smbios, registered by the files that hold them.
#pragma once

#include "cli.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmcli
{

// The highest handle a structure can have; 0xFFFF means "none".
inline constexpr uint16_t kLastHandle = 0xFFFE;
// The structures that hold the device-descriptor map.
inline constexpr uint8_t kMappingType = 225;

// "0x0400"
std::string handleText(uint64_t handle);

// show and get: the decoded structures by type keyword or number, and
// single values by dmidecode's string keywords.
void addSmbiosViews(Command& smbios);
// info and dump-bin: where the table came from, and writing it as a dump.
void addSmbiosTableCommands(Command& smbios);

// check and diff: what is wrong with a table, and what changed between
// two.
void addSmbiosCheck(Command& smbios);
void addSmbiosDiff(Command& smbios);

// Exit code of a command that compares, as diff and cmp have it: trouble
// (the input cannot be read, the output cannot be written).
inline constexpr int kExitTrouble = 2;
// exit, or kExitTrouble after saying why when standard output cannot take
// what the command printed.
int printed(int exit);

// The structure types that the --type texts name, each a comma-separated
// list of numbers up to 255 and dmidecode's type keywords; throws
// UsageError otherwise. Empty when no text is given.
std::vector<uint8_t> typesOf(const std::vector<std::string>& texts);
inline constexpr char kTypeHelp[] =
    "type numbers or dmidecode's type keywords (bios, system, baseboard, "
    "chassis, processor, memory, cache, connector, slot), comma-separated; "
    "may be repeated";

} // namespace qvmcli
