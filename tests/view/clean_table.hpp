// A small SMBIOS 3.0 table that breaks no rule, for the checks and the
// comparison to change one thing at a time: every required type, every
// handle reference resolved, every code defined.
#pragma once

#include "smbios/decode/table_version.hpp"
#include "support/loaded_table.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmtest::clean
{

using Structures = std::vector<StructureBuilder>;

inline constexpr qvm::decode::SmbiosVersion kVersion{3, 0};

// Handles: the type in the high byte, the instance in the low one.
constexpr std::uint16_t handle(std::uint8_t type, int instance = 0)
{
    return static_cast<std::uint16_t>(type << 8 | instance);
}

StructureBuilder memoryArray(std::uint8_t length);
// The DIMM in "DIMM A0", with the module's serial number.
StructureBuilder memoryDevice(std::uint8_t length,
                              const std::string& serial = "1A2B");

Structures structures();
Bytes join(const Structures& structures);

// Places of the structures in structures().
enum Place : std::size_t
{
    kBios,
    kSystem,
    kChassis,
    kProcessor,
    kCache1,
    kSlot = 7,
    kArray,
    kDimm,
    kMapping,
    kBoot,
    kEnd,
};

} // namespace qvmtest::clean
