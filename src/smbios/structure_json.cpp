#include "smbios/structure_json.hpp"

#include "qvmclient.h"
#include "smbios/mapping/row_engine.hpp"

#include <new>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kInactive = 126;
constexpr std::uint8_t kEndOfTable = 127;

// Types without a mapping of their own: the whole structure as hex lines.
// The faithful view shows them as the formatted bytes and the strings.
constexpr mapping::FieldRow kGenericDump[] = {
    mapping::label("Generic", "Dump")
        .when(mapping::onlyIn(decode::Policy::Library)),
    mapping::dumpWhole(),
};

} // namespace

std::int64_t decodeStructure(const StructureView& view, std::size_t wholeSize,
                             const decode::DecodeContext& context,
                             FieldSink& out)
{
    out.integer("Table Type", view.type());
    out.integer("Length", view.length());
    out.integer("Handle", view.handle());
    return decodeFields(view, wholeSize, context, out);
}

std::int64_t decodeFields(const StructureView& view, std::size_t wholeSize,
                          const decode::DecodeContext& context, FieldSink& out)
{
    const std::uint8_t type = view.type();
    if (type == kInactive || type == kEndOfTable)
        return 0;
    const mapping::Mapping rows = mapping::mappingFor(type);
    return mapping::runMapping(
        rows.empty() ? mapping::Mapping(kGenericDump) : rows,
        {view, context.gateVersion, out, wholeSize, context.policy});
}

std::int64_t structureText(const StructureView& view, std::size_t wholeSize,
                           const decode::DecodeContext& context,
                           JsonObjectSink& sink, std::string_view& text)
{
    sink.reset();
    if (const std::int64_t status =
            decodeStructure(view, wholeSize, context, sink);
        status != 0)
        return status;
    return sink.finish(text);
}

StructureJson structureJson(const StructureView& view, std::size_t wholeSize,
                            const decode::DecodeContext& context)
{
    StructureJson result;
    try
    {
        JsonObjectSink sink;
        std::string_view text;
        result.status = structureText(view, wholeSize, context, sink, text);
        if (result.status == 0)
            result.text = text;
    }
    catch (const std::bad_alloc&)
    {
        result.status = QVM_RC_NO_RESOURCES;
    }
    if (result.status != 0)
        result.text.clear();
    return result;
}

} // namespace qvm::smbios
