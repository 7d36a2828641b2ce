// Every gated row of every mapping, probed just below and at each of its
// gates, against golden/gates.golden. The probes come from the rows themselves,
// so a gate moved by one shows as changed lines. A structure of the probed
// length holds 0x01 in every byte (string 1 wherever a string is read), so
// that rows which show only what is present show at their gate.
#include "mapping/mapping_support.hpp"
#include "support/golden.hpp"

#include <gtest/gtest.h>
#include <sstream>

using namespace qvmtest;

namespace
{

StructureBuilder ones(std::uint8_t type, std::uint8_t length)
{
    StructureBuilder s(type, length, 0x0101);
    for (std::size_t at = 4; at < length; ++at)
        s.u8(at, 1);
    return s.string("one").string("two");
}

std::string probe(std::uint8_t type, qvm::mapping::Mapping row,
                  std::uint8_t length, SmbiosVersion version)
{
    std::ostringstream line;
    line << "  length " << int{length} << " version " << int{version.major}
         << "." << int{version.minor} << ":";
    const auto result = mapped(ones(type, length).build(), version, row);
    for (const auto& field : result.fields)
        line << " " << transcript::quoted(field);
    if (result.status != 0)
        line << " status " << result.status;
    return line.str();
}

SmbiosVersion below(SmbiosVersion v)
{
    return v.minor > 0 ? SmbiosVersion{v.major, std::uint8_t(v.minor - 1)}
                       : SmbiosVersion{std::uint8_t(v.major - 1), 9};
}

std::vector<std::string> allProbes()
{
    constexpr SmbiosVersion kNewest{3, 9};
    std::vector<std::string> lines;
    for (int type = 0; type < 256; ++type)
    {
        const auto rows = qvm::mapping::mappingFor(std::uint8_t(type));
        for (std::size_t i = 0; i < rows.size(); ++i)
        {
            const auto gate = rows[i].gate;
            // Rows of the faithful view alone never run in the export.
            const auto library =
                qvm::mapping::policyBit(qvm::decode::Policy::Library);
            if ((gate.policies & library) == 0)
                continue;
            const bool byLength = gate.lengthAbove >= 0;
            const bool byVersion = gate.version.atLeast(0, 1);
            if (!byLength && !byVersion)
                continue;
            const auto row = rows.subspan(i, 1);
            const auto open =
                std::uint8_t(byLength ? gate.lengthAbove + 1 : 255);
            const auto version = byVersion ? gate.version : kNewest;
            lines.push_back("type " + std::to_string(type) + " row " +
                            std::to_string(i));
            if (byLength)
                lines.push_back(probe(type, row, open - 1, version));
            if (byVersion)
                lines.push_back(probe(type, row, open, below(version)));
            lines.push_back(probe(type, row, open, version));
        }
    }
    return lines;
}

} // namespace

TEST(MappingGates, EveryGatedRowJustBelowAndAtItsGates)
{
    expectGolden(QVM_MAPPING_GOLDEN "/gates.golden", allProbes());
}
