// The exported field decoders: each runs its decoder into the caller's
// field list.
#include "smbios/decode/decoders.hpp"

#include "capi/tagged_sink.hpp"
#include "qvmclient.h"

#define QVM_ARGUMENTS(...) __VA_ARGS__
#define QVM_EXPORT_DECODER(name, arguments, ...)                               \
    extern "C" void qvmAdd##name(__VA_ARGS__, FieldList* list)                 \
    {                                                                          \
        qvm::capi::intoList(                                                   \
            list, [&](qvm::FieldSink& out)                                     \
            { qvm::decode::add##name(QVM_ARGUMENTS arguments, out); });        \
    }
QVM_FIELD_DECODERS(QVM_EXPORT_DECODER)

// The meaning of extension byte 2 depends on the loaded table's version.
extern "C" void qvmAddBiosCharacteristicsExt2(uint32_t value, FieldList* list)
{
    qvm::capi::intoList(list,
                        [&](qvm::FieldSink& out)
                        {
                            qvm::decode::addBiosCharacteristicsExt2(
                                value,
                                qvm::decode::SmbiosVersion{SmbiosMajorVersion,
                                                           SmbiosMinorVersion},
                                out);
                        });
}

// Older names of the structure-type decoder.
extern "C" void qvmAddStructureTypeInfo(uint32_t type, FieldList* list)
{
    qvmAddStructureTypeE1Info(type, list);
}

extern "C" void qvmAddStructureTypeE2Info(uint32_t type, FieldList* list)
{
    qvmAddStructureTypeE1Info(type, list);
}
