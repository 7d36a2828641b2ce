#include "capi/loaded_table.hpp"

#include "qvmclient.h"
#include "smbios/table.hpp"

namespace qvm::capi
{

smbios::TableContext loadedContext() noexcept
{
    smbios::TableContext context{smbios::loadedTable(), {}, {}};
    context.decode.gateVersion = {SmbiosMajorVersion, SmbiosMinorVersion};
    context.reportedVersion = {MajorVersion, MinorVersion};
    return context;
}

} // namespace qvm::capi
