// Running one structure's mapping in a test: the fields it appends (header
// fields excluded) under a chosen version pair, and gate probes that say a
// field must be there, or a key must not.
#pragma once

#include "decode/field_capture.hpp"
#include "smbios/mapping/row_engine.hpp"
#include "support/loaded_table.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmtest
{

using qvm::decode::SmbiosVersion;

constexpr SmbiosVersion v(int major, int minor)
{
    return {static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor)};
}

struct Mapped
{
    std::vector<std::string> fields;
    std::int64_t status;
};

// The structure is followed by a type-127 structure, as in a real table, so
// reads past a short structure see what a real table holds there.
// Rows other than the type's own mapping may be given, one row alone say.
Mapped mapped(const StructureBuilder& structure, SmbiosVersion version,
              qvm::mapping::Mapping rows = {},
              qvm::decode::Policy policy = qvm::decode::Policy::Library);

inline std::vector<std::string> fieldsOf(const StructureBuilder& structure,
                                         SmbiosVersion version)
{
    return mapped(structure, version).fields;
}

// The same structure with only its first length bytes formatted and the
// same string set, for the side of a length gate that fails.
StructureBuilder shortened(const StructureBuilder& whole, std::uint8_t length);

// The keys of field strings, in order.
std::vector<std::string> keysOf(const std::vector<std::string>& fields);

bool hasKey(const std::vector<std::string>& fields, const std::string& key);
long countKey(const std::vector<std::string>& fields, const std::string& key);

// A structure mapped under a version and a field string it must hold, or,
// after a '+', keys (separated by commas) it must hold whatever their
// values, or after a '!', keys it must not hold.
struct GateProbe
{
    StructureBuilder structure;
    SmbiosVersion version;
    std::string probe;
};

// Checks every probe, naming the failing one.
void expectProbes(const std::vector<GateProbe>& probes);

// Maps each structure under version and compares every field it gives, in
// order, and any status with golden/NAME.golden; QVM_UPDATE_GOLDEN=1
// rewrites the file instead.
void expectGolden(const std::string& name,
                  const std::vector<StructureBuilder>& structures,
                  SmbiosVersion version);

// The lines of golden/NAME.golden compared with now, or written in its place.
void expectGoldenLines(const std::string& name,
                       const std::vector<std::string>& now);

} // namespace qvmtest
