#include "mapping/mapping_support.hpp"

#include "capi/tagged_sink.hpp"
#include "support/golden.hpp"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace qvmtest
{

Mapped mapped(const StructureBuilder& structure, SmbiosVersion version,
              qvm::mapping::Mapping rows, qvm::decode::Policy policy)
{
    auto bytes = structure.build();
    const std::size_t wholeSize = bytes.size();
    const auto tail = StructureBuilder(127, 4, 0xFFFE).build();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const qvm::smbios::StructureView view(bytes);
    FieldCapture fields;
    qvm::capi::TaggedSink sink(*fields.list());
    const auto status = qvm::mapping::runMapping(
        rows.empty() ? qvm::mapping::mappingFor(view.type()) : rows,
        {view, version, sink, wholeSize, policy});
    return {fields.strings(), status};
}

StructureBuilder shortened(const StructureBuilder& whole, std::uint8_t length)
{
    const Bytes bytes = whole.build();
    const std::size_t formatted = bytes[1];
    StructureBuilder cut(bytes[0], length,
                         static_cast<std::uint16_t>(bytes[2] | bytes[3] << 8));
    const std::size_t kept = std::min<std::size_t>(length, formatted);
    if (kept > 4)
        cut.bytes(4, Bytes(bytes.begin() + 4, bytes.begin() + kept));
    return cut.rawStrings(Bytes(bytes.begin() + formatted, bytes.end()));
}

std::vector<std::string> keysOf(const std::vector<std::string>& fields)
{
    std::vector<std::string> keys;
    for (const auto& f : fields)
    {
        const auto first = f.find(':');
        keys.push_back(f.substr(first + 1, f.find(':', first + 1) - first - 1));
    }
    return keys;
}

bool hasKey(const std::vector<std::string>& fields, const std::string& key)
{
    const auto keys = keysOf(fields);
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

long countKey(const std::vector<std::string>& fields, const std::string& key)
{
    const auto keys = keysOf(fields);
    return std::count(keys.begin(), keys.end(), key);
}

void expectProbes(const std::vector<GateProbe>& probes)
{
    for (const GateProbe& gate : probes)
    {
        const auto fields = fieldsOf(gate.structure, gate.version);
        if (gate.probe[0] != '!' && gate.probe[0] != '+')
        {
            EXPECT_THAT(fields, testing::Contains(gate.probe));
            continue;
        }
        std::stringstream keys(gate.probe.substr(1));
        for (std::string key; std::getline(keys, key, ',');)
            EXPECT_EQ(hasKey(fields, key), gate.probe[0] == '+')
                << key << " in " << gate.probe;
    }
}

void expectGolden(const std::string& name,
                  const std::vector<StructureBuilder>& structures,
                  SmbiosVersion version)
{
    std::vector<std::string> lines;
    for (const StructureBuilder& structure : structures)
    {
        const Bytes bytes = structure.build();
        lines.push_back("type " + std::to_string(bytes[0]) + " length " +
                        std::to_string(bytes[1]));
        const auto result = mapped(structure, version);
        for (const auto& field : result.fields)
            lines.push_back("  " + transcript::quoted(field));
        if (result.status != 0)
            lines.push_back("  status " + std::to_string(result.status));
    }
    expectGoldenLines(name, lines);
}

void expectGoldenLines(const std::string& name,
                       const std::vector<std::string>& now)
{
    expectGolden(QVM_MAPPING_GOLDEN "/" + name + ".golden", now);
}

} // namespace qvmtest
