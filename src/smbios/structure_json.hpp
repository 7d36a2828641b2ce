// One structure as its fields, and as the JSON text of its fields.
#pragma once

#include "fields/field_sink.hpp"
#include "fields/json_object_sink.hpp"
#include "smbios/decode/decode_context.hpp"
#include "smbios/structure_view.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvm::smbios
{

// The fields of the type's mapping, the generic dump for types without one,
// or nothing for types 126 and 127. wholeSize is the size the
// whole-structure dumps cover. Returns 0, or the status of a row that ended
// the conversion early (the fields given so far are then not to be
// written).
std::int64_t decodeFields(const StructureView& view, std::size_t wholeSize,
                          const decode::DecodeContext& context, FieldSink& out);

// The header fields (type, length, handle), then decodeFields.
std::int64_t decodeStructure(const StructureView& view, std::size_t wholeSize,
                             const decode::DecodeContext& context,
                             FieldSink& out);

// The JSON object of one structure, written by sink (reset first, so one
// sink serves any number of structures); text stays valid until the sink
// is used again. Returns 0, or why there is no text.
std::int64_t structureText(const StructureView& view, std::size_t wholeSize,
                           const decode::DecodeContext& context,
                           JsonObjectSink& sink, std::string_view& text);

// The same text on its own. On failure text is empty and status says why.
struct StructureJson
{
    std::string text;
    std::int64_t status = 0;
};
StructureJson structureJson(const StructureView& view, std::size_t wholeSize,
                            const decode::DecodeContext& context);

} // namespace qvm::smbios
