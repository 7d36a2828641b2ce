#include "smbios/view/version_choice.hpp"

#include "common/text.hpp"
#include "smbios/lint/structure_rules.hpp"

namespace qvm::smbios
{
namespace
{

using decode::SmbiosVersion;

constexpr std::uint8_t kEndOfTable = 127;

bool before(SmbiosVersion a, SmbiosVersion b)
{
    return !a.atLeast(b.major, b.minor);
}

// The minimum length of a structure of type in a table of version; 0 when
// the lengths say nothing about it.
std::uint8_t minimumLength(std::uint8_t type, SmbiosVersion version)
{
    std::uint8_t minimum = 0;
    for (const rules::MinimumLength& row : rules::all().minimumLengths)
        if (row.type == type &&
            version.atLeast(row.since.major, row.since.minor))
            minimum = row.minimum;
    return minimum;
}

bool meets(const TableView& table, SmbiosVersion version)
{
    for (const TableEntry& entry : table)
    {
        const std::uint8_t type = entry.view.type();
        if (entry.view.length() < minimumLength(type, version))
            return false;
        if (type == kEndOfTable)
            break;
    }
    return true;
}

} // namespace

std::string TableVersion::text() const
{
    std::string out =
        decimalString(version.major) + "." + decimalString(version.minor);
    if (docrev)
        out.append(".").append(decimalString(*docrev));
    return out;
}

const char* sourceName(VersionSource source) noexcept
{
    switch (source)
    {
        case VersionSource::EntryPoint:
            return "entry point";
        case VersionSource::Caller:
            return "caller";
        case VersionSource::Inferred:
            break;
    }
    return "inferred";
}

decode::SmbiosVersion inferVersion(const TableView& table) noexcept
{
    // Try the versions at which some minimum length changes, newest first;
    // the oldest one stands when the table meets none.
    SmbiosVersion candidate{0, 0};
    for (const rules::MinimumLength& row : rules::all().minimumLengths)
        if (before(candidate, row.since))
            candidate = row.since;
    while (!meets(table, candidate))
    {
        std::optional<SmbiosVersion> older;
        for (const rules::MinimumLength& row : rules::all().minimumLengths)
            if (before(row.since, candidate) &&
                (!older || before(*older, row.since)))
                older = row.since;
        if (!older)
            break;
        candidate = *older;
    }
    return candidate;
}

TableVersion chooseVersion(const std::optional<TableVersion>& entryPoint,
                           const std::optional<decode::SmbiosVersion>& given,
                           const TableView& table)
{
    if (entryPoint)
        return {entryPoint->version, entryPoint->docrev,
                VersionSource::EntryPoint};
    if (given)
        return {*given, std::nullopt, VersionSource::Caller};
    return {inferVersion(table), std::nullopt, VersionSource::Inferred};
}

} // namespace qvm::smbios
