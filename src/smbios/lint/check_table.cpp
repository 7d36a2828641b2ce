#include "smbios/lint/check_table.hpp"

#include "smbios/entry_point_layout.hpp"
#include "smbios/lint/structure_rules.hpp"
#include "smbios/table_view.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

namespace qvm::smbios
{
namespace
{

std::string describeVersion(decode::SmbiosVersion version)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%u.%u", version.major,
                  version.minor);
    return text.data();
}

bool before(decode::SmbiosVersion a, decode::SmbiosVersion b)
{
    return !a.atLeast(b.major, b.minor);
}

// The minimum length of type in version, 0 when no rule names one.
unsigned minimumLength(std::uint8_t type, decode::SmbiosVersion version)
{
    unsigned minimum = 0;
    for (const auto& row : rules::all().minimumLengths)
        if (row.type == type &&
            version.atLeast(row.since.major, row.since.minor))
            minimum = row.minimum;
    return minimum;
}

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

void checkForm32(const EntryPoint& ep, EntryPointFindings& f)
{
    const std::uint8_t stated = ep.bytes[ep32::kLength];
    if (stated != ep32::kFullLength)
        f.add(Severity::Warning, ep32::kLength,
              "the entry point's length byte says " + std::to_string(stated) +
                  " where the 32-bit form is 31 bytes long");
    if (!sumsToZero(ep.bytes, 0, ep.bytes.size()))
        f.add(Severity::Error, ep32::kChecksum,
              "the entry point's checksum does not make its bytes add up to "
              "zero");
    if (!sumsToZero(ep.bytes, ep32::kIntermediate, ep32::kIntermediateLength))
        f.add(Severity::Error, ep32::kIntermediateChecksum,
              "the intermediate checksum does not make the \"_DMI_\" part add "
              "up to zero");
}

void checkForm64(const EntryPoint& ep, EntryPointFindings& f)
{
    const std::uint8_t stated = ep.bytes[ep64::kLength];
    if (stated != ep64::kMinLength)
        f.add(Severity::Warning, ep64::kLength,
              "the entry point's length byte says " + std::to_string(stated) +
                  " where the 64-bit form is 24 bytes long");
    if (!sumsToZero(ep.bytes, 0, ep.bytes.size()))
        f.add(Severity::Error, ep64::kChecksum,
              "the entry point's checksum does not make its bytes add up to "
              "zero");
    if (ep.major < 3)
        f.add(Severity::Warning, ep64::kMajor,
              "a 64-bit entry point names SMBIOS " +
                  describeVersion({ep.major, ep.minor}) +
                  "; that form came with SMBIOS 3.0");
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
              std::string("the entry point announces ") +
                  (ep.is64 ? "a table of at most " : "a table of ") +
                  std::to_string(ep.tableLength) + " bytes, the file holds " +
                  std::to_string(table.size()));
    if (ep.is64)
        return;
    const unsigned announced = ep.bytes[ep32::kStructureCount] |
                               ep.bytes[ep32::kStructureCount + 1] << 8;
    const std::size_t held = countStructures(table);
    if (announced != held)
        f.add(Severity::Warning, ep32::kStructureCount,
              "the entry point announces " + std::to_string(announced) +
                  " structures, the table holds " + std::to_string(held));
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
              "SMBIOS " + describeVersion({ep.major, ep.minor}) +
                  " is not a version the reference has published");
    checkAnnounced(ep, table, f);
    return std::move(f.out);
}

decode::SmbiosVersion versionFromLengths(std::span<const std::uint8_t> table)
{
    // Candidates: every version a length rule starts at, newest first.
    std::vector<decode::SmbiosVersion> versions;
    for (const auto& row : rules::all().minimumLengths)
        versions.push_back(row.since);
    std::sort(versions.begin(), versions.end(),
              [](auto a, auto b) { return before(b, a); });
    std::vector<std::pair<std::uint8_t, unsigned>> lengths;
    for (const auto& entry : TableView(table))
        lengths.emplace_back(entry.view.type(), entry.view.length());
    for (const auto version : versions)
    {
        const bool met =
            std::all_of(lengths.begin(), lengths.end(),
                        [&](const auto& typeLength) {
                            return typeLength.second >=
                                   minimumLength(typeLength.first, version);
                        });
        if (met)
            return version;
    }
    return {2, 0};
}

TableCheck checkTable(const std::optional<EntryPoint>& entryPoint,
                      std::span<const std::uint8_t> table)
{
    TableCheck check;
    if (entryPoint)
    {
        check.version = {entryPoint->major, entryPoint->minor};
        check.versionFromEntryPoint = true;
        check.findings = lintEntryPoint(*entryPoint, table);
    }
    else
    {
        check.version = versionFromLengths(table);
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
             "no entry point: the table is read as SMBIOS " +
                 describeVersion(check.version) +
                 ", the newest version its structure lengths allow"});
    }
    auto structures = lintTable(table, check.version);
    check.findings.insert(check.findings.end(),
                          std::make_move_iterator(structures.begin()),
                          std::make_move_iterator(structures.end()));
    return check;
}

} // namespace qvm::smbios
