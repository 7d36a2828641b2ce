// The slot ID of a system slot (type 9), whose meaning depends on the slot
// type.
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"

#include <cstdint>

namespace qvm::decode
{
namespace
{

struct SlotIdMeaning
{
    const char* label;
    bool logicalSlotNumber; // MCA and EISA number their slots 1 to 15
};

constexpr bool isPciFamily(uint32_t slotType)
{
    // PCI, PCI-66, AGP, AGP 2X, AGP 4X, PCI-X and the PCI Express types.
    return slotType == 6 || (slotType >= 14 && slotType <= 18) ||
           (slotType >= 165 && slotType <= 182);
}

constexpr SlotIdMeaning slotIdMeaning(uint32_t slotType)
{
    if (slotType == 4)
        return {"Logical Micro Channel slot number", true};
    if (slotType == 5)
        return {"Logical EISA slot number", true};
    if (isPciFamily(slotType))
        return {"Value present in the Slot Number field of the PCI Interrupt "
                "Routing table entry associated with this slot",
                false};
    if (slotType == 7)
        return {"Identifies Adapter Number", false};
    return {"undefined Slot Id", false};
}

} // namespace
} // namespace qvm::decode

void qvm::decode::addSystemSlotId(uint32_t slot_id, uint32_t slot_type,
                                  FieldSink& out)
{
    addSystemSlotType(slot_type, out);
    appendInteger("Slot Id", slot_id, out);
    const SlotIdMeaning meaning = slotIdMeaning(slot_type);
    if (meaning.logicalSlotNumber && (slot_id < 1 || slot_id > 15))
        out.text(meaning.label, "error, not 1-15.");
    else
        appendInteger(meaning.label, slot_id, out);
}
