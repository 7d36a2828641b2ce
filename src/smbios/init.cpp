// Loading and releasing the process-wide table.
#include "common/handles.hpp"
#include "qvmclient.h"
#include "smbios/table.hpp"
#include "smbios/table_source.hpp"

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

// The version pair the field mappings compare is the BIOS release pair of
// the table's first type-0 structure with a BIOS version string.
int64_t takeVersionPair() noexcept
{
    SmbiosBiosInfo* raw = nullptr;
    const int64_t status = GetBiosInfo(qvm::smbios::kBiosInfoKey, &raw);
    const qvm::HeapPtr<SmbiosBiosInfo> info(raw);
    if (status != QVM_RC_SUCCESS)
        return QVM_RC_NOT_FOUND;
    MajorVersion = SmbiosMajorVersion = info->major_release;
    MinorVersion = SmbiosMinorVersion = info->minor_release;
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
        file = qvm::smbios::openTableFile(path);
    }
    else
    {
        const int64_t status = qvm::smbios::openInventoryTableFile(file);
        if (status != QVM_RC_SUCCESS)
            return status;
    }
    if (!file)
        return QVM_RC_NOT_FOUND;

    const int64_t status = readTable(file.get());
    file.reset();
    if (status != QVM_RC_SUCCESS)
        return status;
    return takeVersionPair();
}

extern "C" void SmbiosCleanup(void)
{
    qvm::smbios::releaseTable();
}
