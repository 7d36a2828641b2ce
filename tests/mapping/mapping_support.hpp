// Running one structure's mapping in a test: the field strings it appends
// (header fields excluded) under a chosen version pair and policy.
#pragma once

#include "smbios/mapping/row_engine.hpp"
#include "support/loaded_table.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace qvmtest
{

using qvm::decode::SmbiosVersion;

struct Mapped
{
    std::vector<std::string> fields;
    std::int64_t status;
};

// structure holds one structure whole; a type-127 structure follows it, as
// in a real table, so reads past a short structure see what a real table
// holds there. Rows other than the type's own mapping may be given, one row
// alone say.
Mapped mapped(const Bytes& structure, SmbiosVersion version,
              qvm::mapping::Mapping rows = {},
              qvm::decode::Policy policy = qvm::decode::Policy::Library);

} // namespace qvmtest
