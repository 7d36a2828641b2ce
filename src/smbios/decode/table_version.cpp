#include "smbios/decode/table_version.hpp"

#include "qvmclient.h"

namespace qvm::decode
{

SmbiosVersion loadedTableVersion() noexcept
{
    return {SmbiosMajorVersion, SmbiosMinorVersion};
}

} // namespace qvm::decode
