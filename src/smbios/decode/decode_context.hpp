// What a structure's decoding depends on besides the structure's bytes.
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstdint>

namespace qvm::decode
{

// How the table is read. Library is the behaviour the C interface has
// always had: rows are gated on the version the loader records, fields are
// read wherever a row points (past a short structure's formatted area too),
// and repeated keys are left for the writer to fold.
enum class Policy : std::uint8_t
{
    Library,
};

struct DecodeContext
{
    // The version the mapping gates and version-dependent decoders compare
    // with.
    SmbiosVersion gateVersion{0, 0};
    Policy policy = Policy::Library;
};

} // namespace qvm::decode
