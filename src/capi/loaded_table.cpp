#include "capi/loaded_table.hpp"

#include "capi/table_state.hpp"
#include "qvmclient.h"

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
