#include "smbios/decode/table_version.hpp"

#include "qvmclient.h"

// The loader owns these. The reference is weak so that the decoders link,
// and read 0.0, in a build that leaves the loader out.
#pragma weak SmbiosMajorVersion
#pragma weak SmbiosMinorVersion

namespace qvm::decode
{

SmbiosVersion loadedTableVersion() noexcept
{
    if (&SmbiosMajorVersion == nullptr || &SmbiosMinorVersion == nullptr)
        return {0, 0};
    return {SmbiosMajorVersion, SmbiosMinorVersion};
}

} // namespace qvm::decode
