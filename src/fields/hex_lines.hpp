// Bytes as hex-dump lines: 32 bytes a line, keyed by the line's offset.
#pragma once

#include "fields/field_sink.hpp"

#include <cstdint>

namespace qvm
{

// The lines of size bytes at data, with the trace lines that say so;
// nothing for no bytes.
void appendHexLines(const std::uint8_t* data, std::uint32_t size,
                    FieldSink& out);

} // namespace qvm
