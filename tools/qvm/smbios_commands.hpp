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

// The structure types that --type TEXT names: a number up to 255, or one
// of dmidecode's type keywords; throws UsageError otherwise.
std::vector<uint8_t> typesOf(const std::string& text);
inline constexpr char kTypeHelp[] =
    "a type number, or bios, system, baseboard, chassis, processor, memory, "
    "cache, connector or slot";

} // namespace qvmcli
