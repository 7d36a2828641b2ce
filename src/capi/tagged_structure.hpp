// One structure's JSON text the way the field strings give it: the fields
// go through a TaggedSink into a FieldList, whose strings are then turned
// into JSON as make_a_json_string turns them. The export writes the same
// bytes straight from the fields; this way stays as the reference it is
// held to.
#pragma once

#include "smbios/structure_json.hpp"

namespace qvm::capi
{

smbios::StructureJson taggedStructureJson(const smbios::StructureView& view,
                                          std::size_t wholeSize,
                                          const decode::DecodeContext& context);

} // namespace qvm::capi
