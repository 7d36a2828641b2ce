// What the SMBIOS reference says each structure type must look like, as
// data rows the linter runs through: lengths, string fields, handle
// references, enumerations, reserved bits, required types.
#pragma once

#include "smbios/decode/table_version.hpp"
#include "smbios/decode/value_table.hpp"

#include <cstdint>
#include <span>

namespace qvm::smbios::rules
{

// From version since on, a structure of the type is at least minimum
// bytes long (its formatted area).
struct MinimumLength
{
    std::uint8_t type;
    decode::SmbiosVersion since;
    std::uint8_t minimum;
};

// Types of one size whatever they hold: anything longer is not theirs.
struct FixedLength
{
    std::uint8_t type;
    std::uint8_t length;
};

// A byte holding a string number.
struct StringField
{
    std::uint8_t type;
    std::uint8_t offset;
};

// A word holding the handle of a structure of type target (or of type
// alsoTarget when that is not kNoType). 0xFFFF says "none"; 0xFFFE "not
// provided" where notProvided allows it.
struct Reference
{
    std::uint8_t type;
    std::uint8_t offset;
    const char* name;
    std::uint8_t target;
    std::uint8_t alsoTarget;
    bool notProvided;
};
inline constexpr std::uint8_t kNoType = 0xFF;

// A byte whose (value & mask) is a code of table.
struct Enumeration
{
    std::uint8_t type;
    std::uint8_t offset;
    const char* name;
    std::uint8_t mask;
    decode::Table table;
};

// Bits of a field the reference leaves reserved (must be zero).
struct ReservedBits
{
    std::uint8_t type;
    std::uint8_t offset;
    std::uint8_t width; // 1, 2 or 4 bytes
    const char* name;
    std::uint32_t mask;
};

// Types a table of version since or later must hold.
struct Required
{
    std::uint8_t type;
    const char* name;
    decode::SmbiosVersion since;
};

struct Rules
{
    std::span<const MinimumLength> minimumLengths;
    std::span<const FixedLength> fixedLengths;
    std::span<const StringField> stringFields;
    std::span<const Reference> references;
    std::span<const Enumeration> enumerations;
    std::span<const ReservedBits> reservedBits;
    std::span<const Required> requiredTypes;
};

const Rules& all() noexcept;

} // namespace qvm::smbios::rules
