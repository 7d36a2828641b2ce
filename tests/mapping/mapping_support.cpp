#include "mapping/mapping_support.hpp"

#include "capi/tagged_sink.hpp"
#include "fields/field_list.hpp"

namespace qvmtest
{

Mapped mapped(const Bytes& structure, SmbiosVersion version,
              qvm::mapping::Mapping rows, qvm::decode::Policy policy)
{
    Bytes bytes = structure;
    const auto tail = StructureBuilder(127, 4, 0xFFFE).build();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const qvm::smbios::StructureView view(bytes);
    qvm::OwnedFieldList list;
    qvm::capi::TaggedSink sink(*list);
    const auto status = qvm::mapping::runMapping(
        rows.empty() ? qvm::mapping::mappingFor(view.type()) : rows,
        {view, version, sink, structure.size(), policy});
    Mapped out{{}, status};
    for (const FieldNode* node = (*list).head; node != nullptr;
         node = node->next)
        out.fields.emplace_back(node->text);
    if (out.fields.size() != (*list).count)
        out.fields.push_back("<count " + std::to_string((*list).count) + ">");
    return out;
}

} // namespace qvmtest
