#include "capi/table_state.hpp"

#include "qvmclient.h"

#include <cstdlib>

extern "C"
{
    uint8_t* gSMDataBuffer = nullptr;
    uint8_t* m_SmbiosStruct = nullptr;
    int64_t gSMTableLength = 0;
    uint8_t SmbiosMajorVersion = 0;
    uint8_t SmbiosMinorVersion = 0;
    uint8_t MajorVersion = 0;
    uint8_t MinorVersion = 0;
    // Exported for callers that expect it; the library never uses it.
    uint64_t NumberOfSmbiosStructures = 0;
}

namespace qvm::smbios
{
namespace
{
std::uint64_t generation = 0;
} // namespace

void installTable(std::uint8_t* buffer, std::size_t length) noexcept
{
    releaseTable();
    gSMDataBuffer = buffer;
    m_SmbiosStruct = buffer;
    gSMTableLength = static_cast<int64_t>(length);
}

void releaseTable() noexcept
{
    std::free(gSMDataBuffer);
    gSMDataBuffer = nullptr;
    m_SmbiosStruct = nullptr;
    gSMTableLength = 0;
    ++generation;
}

std::uint64_t tableGeneration() noexcept
{
    return generation;
}

TableView loadedTable() noexcept
{
    if (m_SmbiosStruct == nullptr || gSMTableLength <= 0)
        return {};
    return TableView(
        {m_SmbiosStruct, static_cast<std::size_t>(gSMTableLength)});
}

} // namespace qvm::smbios
