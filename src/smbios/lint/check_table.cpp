#include "smbios/lint/check_table.hpp"

#include "smbios/entry_point_layout.hpp"
#include "smbios/lint/sentence.hpp"
#include "smbios/little_endian.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/version_choice.hpp"

#include <array>
#include <cstdio>
#include <cstring>

namespace qvm::smbios
{
namespace
{

// Why a file that starts with an entry point's anchor holds none that
// can be read; empty when it does not start with one.
std::string unreadableAnchor(std::span<const std::uint8_t> head)
{
    const auto startsWith = [&](const char* anchor)
    {
        const std::size_t n = std::strlen(anchor);
        return head.size() >= n && std::memcmp(head.data(), anchor, n) == 0;
    };
    if (startsWith("_SM3_"))
        return "the table starts with the anchor \"_SM3_\" of an entry point "
               "that cannot be read (too short, or its length byte below "
               "0x18)";
    if (startsWith("_SM_"))
        return "the table starts with the anchor \"_SM_\" of an entry point "
               "that cannot be read (too short, its length byte below 0x1E, "
               "or no \"_DMI_\" at 0x10)";
    return {};
}

struct EntryPointFindings
{
    std::vector<Finding> out;

    void add(Severity severity, std::size_t offset, std::string text)
    {
        out.push_back({severity, std::nullopt, std::nullopt, offset,
                       std::move(text), true});
    }
};

// Whether count bytes from start add up to zero, modulo 256.
bool sumsToZero(std::span<const std::uint8_t> bytes, std::size_t start,
                std::size_t count)
{
    if (start + count > bytes.size())
        return false;
    unsigned sum = 0;
    for (std::size_t i = start; i < start + count; ++i)
        sum += bytes[i];
    return (sum & 0xFFu) == 0;
}

// The versions the reference has published in each form.
bool knownVersion(const EntryPoint& ep)
{
    constexpr std::uint8_t kLastMinor2 = 8;
    constexpr std::uint8_t kLastMinor3 = 8;
    if (ep.major == 2)
        return !ep.is64 && ep.minor <= kLastMinor2;
    return ep.major == 3 && ep.minor <= kLastMinor3;
}

// Where each form keeps its length and checksum, and how long it is.
struct Form
{
    const char* name;
    std::size_t lengthAt;
    std::uint8_t length;
    std::size_t checksumAt;
};
constexpr Form k32{"32-bit", ep32::kLength, ep32::kFullLength, ep32::kChecksum};
constexpr Form k64{"64-bit", ep64::kLength, ep64::kMinLength, ep64::kChecksum};

// The length byte and the checksum over the whole entry point.
void checkForm(const EntryPoint& ep, const Form& form, EntryPointFindings& f)
{
    const std::uint8_t stated = ep.bytes[form.lengthAt];
    if (stated != form.length)
        f.add(Severity::Warning, form.lengthAt,
              sentence("the entry point's length byte says %u where the %s "
                       "form is %u bytes long",
                       unsigned{stated}, form.name, unsigned{form.length}));
    if (!sumsToZero(ep.bytes, 0, ep.bytes.size()))
        f.add(Severity::Error, form.checksumAt,
              "the entry point's checksum does not make its bytes add up to "
              "zero");
}

void checkForm32(const EntryPoint& ep, EntryPointFindings& f)
{
    checkForm(ep, k32, f);
    if (!sumsToZero(ep.bytes, ep32::kIntermediate, ep32::kIntermediateLength))
        f.add(Severity::Error, ep32::kIntermediateChecksum,
              "the intermediate checksum does not make the \"_DMI_\" part add "
              "up to zero");
}

void checkForm64(const EntryPoint& ep, EntryPointFindings& f)
{
    checkForm(ep, k64, f);
    if (ep.major < 3)
        f.add(Severity::Warning, ep64::kMajor,
              sentence("a 64-bit entry point names SMBIOS %u.%u; that form "
                       "came with SMBIOS 3.0",
                       unsigned{ep.major}, unsigned{ep.minor}));
}

// Structures up to and with the end-of-table structure.
std::size_t countStructures(std::span<const std::uint8_t> table)
{
    constexpr std::uint8_t kEndOfTable = 127;
    std::size_t count = 0;
    for (const auto& entry : TableView(table))
    {
        ++count;
        if (entry.view.type() == kEndOfTable)
            break;
    }
    return count;
}

void checkAnnounced(const EntryPoint& ep, std::span<const std::uint8_t> table,
                    EntryPointFindings& f)
{
    if (table.size() < ep.tableLength)
        f.add(Severity::Error, ep.is64 ? ep64::kMaxSize : ep32::kTableLength,
              sentence("the entry point announces a table of %s%lu bytes, "
                       "the file holds %zu",
                       ep.is64 ? "at most " : "",
                       static_cast<unsigned long>(ep.tableLength),
                       table.size()));
    if (ep.is64)
        return;
    const unsigned announced = static_cast<unsigned>(readLittleEndian(
        std::span(ep.bytes).subspan(ep32::kStructureCount, 2)));
    const std::size_t held = countStructures(table);
    if (announced != held)
        f.add(Severity::Warning, ep32::kStructureCount,
              sentence("the entry point announces %u structures, the table "
                       "holds %zu",
                       announced, held));
}

} // namespace

std::vector<Finding> lintEntryPoint(const EntryPoint& ep,
                                    std::span<const std::uint8_t> table)
{
    EntryPointFindings f;
    if (ep.is64)
        checkForm64(ep, f);
    else
        checkForm32(ep, f);
    if (!knownVersion(ep) && !(ep.is64 && ep.major < 3))
        f.add(Severity::Warning, ep.is64 ? ep64::kMajor : ep32::kMajor,
              sentence("SMBIOS %u.%u is not a version the reference has "
                       "published",
                       unsigned{ep.major}, unsigned{ep.minor}));
    checkAnnounced(ep, table, f);
    return std::move(f.out);
}

decode::SmbiosVersion tableVersion(const std::optional<EntryPoint>& entryPoint,
                                   std::span<const std::uint8_t> table)
{
    if (entryPoint)
        return {entryPoint->major, entryPoint->minor};
    return inferVersion(TableView(table));
}

TableCheck checkTable(const std::optional<EntryPoint>& entryPoint,
                      std::span<const std::uint8_t> table)
{
    TableCheck check;
    check.version = tableVersion(entryPoint, table);
    if (entryPoint)
    {
        check.versionFromEntryPoint = true;
        check.findings = lintEntryPoint(*entryPoint, table);
    }
    else
    {
        // What follows such an anchor is no structure: walking it as one
        // would only bury the cause.
        const std::string anchor = unreadableAnchor(table);
        if (!anchor.empty())
        {
            check.findings.push_back(
                {Severity::Error, std::nullopt, std::nullopt, 0, anchor});
            return check;
        }
        check.findings.push_back(
            {Severity::Note, std::nullopt, std::nullopt, 0,
             sentence("no entry point: the table is read as SMBIOS %u.%u, "
                      "the newest version its structure lengths allow",
                      unsigned{check.version.major},
                      unsigned{check.version.minor})});
    }
    auto structures = lintTable(table, check.version);
    check.findings.insert(check.findings.end(),
                          std::make_move_iterator(structures.begin()),
                          std::make_move_iterator(structures.end()));
    return check;
}

} // namespace qvm::smbios
