#include "smbios/fqdd.hpp"

#include <algorithm>

namespace qvm::smbios
{

namespace
{

constexpr std::uint8_t kMappingVersion = 1;
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kFirstEntry = 5;
constexpr std::size_t kEntrySize = 4;
constexpr std::size_t kMaxCount = UINT16_MAX;

// Entries lie wholly inside the formatted area; a partial one at its end
// is not an entry.
std::size_t entryCount(const StructureView& view) noexcept
{
    const std::size_t length = view.length();
    return length > kFirstEntry ? (length - kFirstEntry) / kEntrySize : 0;
}

FqddRecord readEntry(const StructureView& view, std::size_t index,
                     std::size_t structure) noexcept
{
    const std::size_t at = kFirstEntry + index * kEntrySize;
    return {view.byte(at), view.word(at + 1), view.byte(at + 3),
            static_cast<std::uint8_t>(structure)};
}

} // namespace

const FqddRecord* FqddMap::find(std::uint32_t handle) const noexcept
{
    const auto at =
        std::find_if(records.begin(), records.end(),
                     [&](const FqddRecord& r) { return r.handle == handle; });
    return at == records.end() ? nullptr : &*at;
}

const char* FqddMap::text(const FqddRecord& record) const noexcept
{
    if (record.tableIndex >= structures.size())
        return nullptr;
    return structures[record.tableIndex].string(record.entryByte0);
}

FqddBuild buildFqddMap(const TableView& table)
{
    FqddBuild built;
    std::size_t total = 0;
    bool otherVersion = false;
    for (const auto& entry : table)
    {
        if (entry.view.type() != kFqddMappingType)
            continue;
        if (built.map.structures.size() == kMaxCount)
            break;
        built.map.structures.push_back(entry.view);
        otherVersion |= entry.view.byte(kVersionOffset) != kMappingVersion;
        total += entryCount(entry.view);
    }
    if (built.map.structures.empty())
        return built;
    if (otherVersion)
    {
        built.result = FqddResult::otherVersion;
        return built;
    }
    // The record count travels as a u16: entries past it are dropped.
    total = std::min(total, kMaxCount);
    built.map.records.reserve(total);
    for (std::size_t k = 0; k < built.map.structures.size(); ++k)
    {
        const auto& view = built.map.structures[k];
        const std::size_t entries = entryCount(view);
        for (std::size_t j = 0; j < entries && built.map.records.size() < total;
             ++j)
            built.map.records.push_back(readEntry(view, j, k));
    }
    built.result = FqddResult::built;
    return built;
}

} // namespace qvm::smbios
