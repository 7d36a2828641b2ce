// BIOS information and the version pair of the loaded table.
#include "qvmclient.h"
#include "smbios/table.hpp"

#include <cstdlib>
#include <cstring>

namespace
{

// Offsets of the fields read here.
constexpr std::size_t kBiosVersion = 5;       // type 0, string number
constexpr std::size_t kBiosMajorRelease = 20; // type 0
constexpr std::size_t kBiosMinorRelease = 21; // type 0
constexpr std::size_t kProductName = 5;       // type 1, string number
constexpr std::size_t kSerialNumber = 7;      // type 1, string number

char* tableText(const char* text) noexcept
{
    return qvm::smbios::handedOut(text);
}

// The first type-0 structure with a BIOS version gives the version and the
// release pair (zero when its formatted area is too short to hold them).
void takeBios(const qvm::smbios::StructureView& view,
              SmbiosBiosInfo& info) noexcept
{
    if (info.bios_version != nullptr)
        return;
    const char* version = view.stringAt(kBiosVersion);
    if (version == nullptr)
        return;
    info.bios_version = tableText(version);
    info.major_release = view.byte(kBiosMajorRelease);
    info.minor_release = view.byte(kBiosMinorRelease);
}

// Serial number and product name each come from the first type-1
// structure that has them, not necessarily the same one.
void takeSystem(const qvm::smbios::StructureView& view,
                SmbiosBiosInfo& info) noexcept
{
    if (info.serial_number == nullptr)
        info.serial_number = tableText(view.stringAt(kSerialNumber));
    if (info.product_name == nullptr)
        info.product_name = tableText(view.stringAt(kProductName));
}

} // namespace

extern "C" int64_t GetBiosInfo(const char* key, SmbiosBiosInfo** info)
{
    if (key == nullptr || std::strcmp(key, qvm::smbios::kBiosInfoKey) != 0)
        return QVM_RC_NOT_FOUND;
    if (info == nullptr)
        return QVM_RC_INVALID_REQUEST;
    qvm::HeapPtr<SmbiosBiosInfo> record(
        static_cast<SmbiosBiosInfo*>(std::calloc(1, sizeof(SmbiosBiosInfo))));
    if (!record)
        return QVM_RC_NO_RESOURCES;

    const auto table = qvm::smbios::loadedTable();
    if (!table.hasStructures())
        return QVM_RC_NOT_FOUND;
    for (const auto& entry : table)
    {
        if (entry.view.type() == 0)
            takeBios(entry.view, *record);
        else if (entry.view.type() == 1)
            takeSystem(entry.view, *record);
    }
    *info = record.release();
    return QVM_RC_SUCCESS;
}

extern "C" unsigned int GetSmbiosMajorVersion(void)
{
    return MajorVersion;
}

extern "C" unsigned int GetSmbiosMinorVersion(void)
{
    return MinorVersion;
}
