// The map from structure handles to device descriptors, built from the OEM
// type-225 structures.
#include "capi/table_state.hpp"
#include "qvmclient.h"
#include "smbios/fqdd.hpp"

#include <algorithm>
#include <cstdlib>
#include <new>

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

// The mapping structures as callers reach them: pointers into the loaded
// table, kept even when their map cannot be read.
bool publishStructures(const qvm::smbios::FqddMap& map) noexcept
{
    g_E1table =
        qvm::smbios::zeroedArray<uint8_t*>(map.structures.size()).release();
    if (g_E1table == nullptr)
        return false;
    for (std::size_t k = 0; k < map.structures.size(); ++k)
        g_E1table[k] = qvm::smbios::handedOut(map.structures[k].data());
    g_E1tableCount = static_cast<uint16_t>(map.structures.size());
    return true;
}

bool publishRecords(const qvm::smbios::FqddMap& map) noexcept
{
    m_Fqdd =
        qvm::smbios::zeroedArray<FqddMapEntry>(map.records.size()).release();
    if (m_Fqdd == nullptr)
        return false;
    for (std::size_t i = 0; i < map.records.size(); ++i)
    {
        const auto& r = map.records[i];
        m_Fqdd[i] = {r.entryByte0, r.handle, r.entryByte3, r.tableIndex};
    }
    m_countE1 = static_cast<uint16_t>(map.records.size());
    return true;
}

} // namespace

extern "C" int64_t PopulateFqdds(void)
{
    releaseMap();
    const auto table = qvm::smbios::loadedTable();
    if (!table.hasStructures())
        return QVM_RC_NOT_FOUND;
    try
    {
        const auto built = qvm::smbios::buildFqddMap(table);
        // A selection that cannot be handed out counts as no selection.
        if (!publishStructures(built.map))
            return QVM_RC_NOT_FOUND;
        if (built.result != qvm::smbios::FqddResult::built)
            return QVM_RC_NOT_FOUND;
        if (!publishRecords(built.map))
            return QVM_RC_NO_RESOURCES;
    }
    catch (const std::bad_alloc&)
    {
        return QVM_RC_NO_RESOURCES;
    }
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
