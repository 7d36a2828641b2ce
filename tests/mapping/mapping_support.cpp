#include "mapping/mapping_support.hpp"

#include "capi/tagged_sink.hpp"
#include "fields/field_list.hpp"
#include "support/field_strings.hpp"

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
    return {takeFieldStrings(*list), status};
}

} // namespace qvmtest
