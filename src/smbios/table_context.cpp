#include "smbios/table_context.hpp"

namespace qvm::smbios
{
namespace
{

constexpr std::size_t kBiosVersion = 5; // string number
constexpr std::size_t kBiosMajorRelease = 20;
constexpr std::size_t kBiosMinorRelease = 21;

} // namespace

BiosRelease firstBiosRelease(const TableView& table) noexcept
{
    for (const TableEntry& entry : table)
    {
        if (entry.view.type() != 0)
            continue;
        if (const char* version = entry.view.stringAt(kBiosVersion))
            return {version,
                    {entry.view.byte(kBiosMajorRelease),
                     entry.view.byte(kBiosMinorRelease)}};
    }
    return {};
}

TableContext
TableContext::fromBytes(std::span<const std::uint8_t> bytes) noexcept
{
    TableContext context{TableView(bytes), {}, {}};
    const BiosRelease bios = firstBiosRelease(context.table);
    context.decode.gateVersion = bios.release;
    context.reportedVersion = bios.release;
    return context;
}

} // namespace qvm::smbios
