// The device-descriptor map of a table: the entries of its OEM type-225
// structures, each tying a structure handle to a descriptor string of the
// platform. Built from an explicit table; nothing process-wide is read.
//
//     const auto built = qvm::smbios::buildFqddMap(context.table);
//     if (built.result == qvm::smbios::FqddResult::built)
//         if (const auto* record = built.map.find(0x0021)) ...
#pragma once

#include "smbios/structure_view.hpp"
#include "smbios/table_view.hpp"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvm::smbios
{

inline constexpr std::uint8_t kFqddMappingType = 225;

// One entry of a mapping structure, with the index of that structure.
struct FqddRecord
{
    std::uint8_t entryByte0 = 0; // numbers the structure's descriptor string
    std::uint16_t handle = 0;
    std::uint8_t entryByte3 = 0;
    std::uint8_t tableIndex = 0; // kept modulo 256, as the records hold it
};

struct FqddMap
{
    // The mapping structures in table order (at most 0xFFFF of them, as
    // a u16 counts them).
    std::vector<StructureView> structures;
    // Entries in structure order, then entry order; at most 0xFFFF.
    std::vector<FqddRecord> records;

    // The first record for handle; null when there is none.
    const FqddRecord* find(std::uint32_t handle) const noexcept;
    // The string of its mapping structure that a record's byte 0 numbers;
    // null when that structure lacks it. Only for a record of this map
    // (the index modulo 256 finds the structure among the first 256).
    const char* text(const FqddRecord& record) const noexcept;
};

enum class FqddResult
{
    built,
    noStructures, // the table has no mapping structure
    otherVersion, // a mapping structure has a version other than 1
};

struct FqddBuild
{
    FqddMap map; // holds the structures found even when result says why
                 // no records were made
    FqddResult result = FqddResult::noStructures;
};

// Throws std::bad_alloc when memory runs out.
FqddBuild buildFqddMap(const TableView& table);

} // namespace qvm::smbios
