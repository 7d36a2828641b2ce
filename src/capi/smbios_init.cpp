// Loading and releasing the process-wide table.
#include "capi/table_state.hpp"
#include "common/handles.hpp"
#include "qvmclient.h"
#include "smbios/table_context.hpp"
#include "inventory/table_source.hpp"

#include <cstdio>
#include <cstdlib>

namespace
{

// No SMBIOS entry point can describe a larger table; a larger file is
// refused before any allocation.
constexpr std::uint64_t kMaxTableSize = UINT32_MAX;

// Reads the whole file into a new table buffer. The buffer is installed
// before the read, so a short read leaves a loaded (zero-padded) table for
// the caller's SmbiosCleanup.
int64_t readTable(std::FILE* file) noexcept
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return QVM_RC_NOT_FOUND;
    const long end = std::ftell(file);
    if (end < 0 || static_cast<std::uint64_t>(end) > kMaxTableSize ||
        std::fseek(file, 0, SEEK_SET) != 0)
        return QVM_RC_NOT_FOUND;
    const auto length = static_cast<std::size_t>(end);
    // At least one byte, so that an empty file still gets a buffer.
    auto* buffer =
        static_cast<std::uint8_t*>(std::calloc(length != 0 ? length : 1, 1));
    if (buffer == nullptr)
        return QVM_RC_NOT_FOUND;
    qvm::smbios::installTable(buffer, length);
    if (std::fread(buffer, 1, length, file) != length)
        return QVM_RC_NOT_FOUND;
    return QVM_RC_SUCCESS;
}

// Both exported version pairs, the one the field mappings are gated on
// and the one the library reports, are the pair a table context derives.
int64_t takeVersionPairs() noexcept
{
    const auto table = qvm::smbios::loadedTable();
    if (!table.hasStructures())
        return QVM_RC_NOT_FOUND;
    const auto context = qvm::smbios::TableContext::fromBytes(table.bytes());
    SmbiosMajorVersion = context.decode.gateVersion.major;
    SmbiosMinorVersion = context.decode.gateVersion.minor;
    MajorVersion = context.reportedVersion.major;
    MinorVersion = context.reportedVersion.minor;
    return QVM_RC_SUCCESS;
}

} // namespace

extern "C" int64_t SmbiosInit(const char* path)
{
    // Every load starts from scratch: the previous table is released first,
    // so a failed load never leaves a mix of the old and the new one.
    qvm::smbios::releaseTable();

    qvm::FilePtr file;
    if (path != nullptr)
    {
        file = qvm::openTableFile(path);
    }
    else
    {
        const int64_t status = qvm::openInventoryTableFile(file);
        if (status != QVM_RC_SUCCESS)
            return status;
    }
    if (!file)
        return QVM_RC_NOT_FOUND;

    const int64_t status = readTable(file.get());
    file.reset();
    if (status != QVM_RC_SUCCESS)
        return status;
    return takeVersionPairs();
}

extern "C" void SmbiosCleanup(void)
{
    qvm::smbios::releaseTable();
}
