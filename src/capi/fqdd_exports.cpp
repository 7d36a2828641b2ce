// The map from structure handles to device descriptors, built from the OEM
// type-225 structures.
#include "capi/table_state.hpp"
#include "common/handles.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

static_assert(sizeof(FqddMapEntry) == 5, "map records are packed");

extern "C"
{
    uint8_t TypeE1Supported = 0;
    uint8_t** g_E1table = nullptr;
    uint16_t g_E1tableCount = 0;
    FqddMapEntry* m_Fqdd = nullptr;
    uint16_t m_countE1 = 0;
}

namespace
{

constexpr std::uint8_t kMappingType = 225;
constexpr std::uint8_t kMappingVersion = 1;
constexpr std::size_t kVersionOffset = 4;
constexpr std::size_t kFirstEntry = 5;
constexpr std::size_t kEntrySize = 4;

// Entries lie wholly inside the formatted area; a partial one at its end
// is not an entry.
std::size_t entryCount(const qvm::smbios::StructureView& view) noexcept
{
    const std::size_t length = view.length();
    return length > kFirstEntry ? (length - kFirstEntry) / kEntrySize : 0;
}

FqddMapEntry readEntry(const qvm::smbios::StructureView& view,
                       std::size_t index, std::size_t table) noexcept
{
    const std::size_t at = kFirstEntry + index * kEntrySize;
    FqddMapEntry record{};
    record.entry_byte0 = view.byte(at);
    record.handle = view.word(at + 1);
    record.entry_byte3 = view.byte(at + 3);
    record.table_index = static_cast<uint8_t>(table);
    return record;
}

// The previous map goes when a new one is built, and a failed build leaves
// it empty: records, structure list and the flag.
void releaseMap() noexcept
{
    std::free(m_Fqdd);
    m_Fqdd = nullptr;
    m_countE1 = 0;
    std::free(g_E1table);
    g_E1table = nullptr;
    g_E1tableCount = 0;
    TypeE1Supported = 0;
}

// Sum of the entries of every mapping structure, capped at what the u16
// record count can hold; nothing when one of them has another version.
std::optional<std::size_t> totalEntries(const qvm::smbios::TableView& table)
{
    std::size_t total = 0;
    for (std::uint16_t k = 0; k < g_E1tableCount; ++k)
    {
        const auto view = table.viewAt(g_E1table[k]);
        if (view.byte(kVersionOffset) != kMappingVersion)
            return std::nullopt;
        total += entryCount(view);
    }
    return std::min<std::size_t>(total, UINT16_MAX);
}

} // namespace

extern "C" int64_t PopulateFqdds(void)
{
    releaseMap();
    uint16_t* rawLengths = nullptr;
    uint16_t count = 0;
    const int64_t status =
        SmbiosGetStructureOfType(kMappingType, &g_E1table, &rawLengths, &count);
    const qvm::HeapPtr<uint16_t> lengths(rawLengths);
    if (status != QVM_RC_SUCCESS)
        return QVM_RC_NOT_FOUND;
    g_E1tableCount = count;
    if (count == 0)
        return QVM_RC_NOT_FOUND;

    const auto table = qvm::smbios::loadedTable();
    const auto total = totalEntries(table);
    if (!total)
        return QVM_RC_NOT_FOUND;
    m_Fqdd = static_cast<FqddMapEntry*>(
        std::calloc(std::max<std::size_t>(*total, 1), sizeof(FqddMapEntry)));
    if (m_Fqdd == nullptr)
        return QVM_RC_NO_RESOURCES;

    std::size_t filled = 0;
    for (std::uint16_t k = 0; k < count && filled < *total; ++k)
    {
        const auto view = table.viewAt(g_E1table[k]);
        const std::size_t entries = entryCount(view);
        for (std::size_t j = 0; j < entries && filled < *total; ++j)
            m_Fqdd[filled++] = readEntry(view, j, k);
    }
    m_countE1 = static_cast<uint16_t>(*total);
    TypeE1Supported = 1;
    return QVM_RC_SUCCESS;
}

extern "C" FqddMapEntry* FindFqdd(uint32_t handle)
{
    if (m_Fqdd == nullptr)
        return nullptr;
    for (uint16_t i = 0; i < m_countE1; ++i)
        if (m_Fqdd[i].handle == handle)
            return &m_Fqdd[i];
    return nullptr;
}
