// Types 4 to 7: processor, memory controller, memory module and cache.
#include "smbios/mapping/mappings.hpp"
#include "smbios/mapping/row_engine.hpp"

namespace qvm::mapping
{
namespace
{

constexpr std::uint8_t kSeeFamily2 = 0xFE;

// A family byte of 0xFE points at the word at offset 40, where the table is
// new enough and long enough to hold it; otherwise the byte itself counts.
std::int64_t processorFamily(const RowContext& c)
{
    const std::uint8_t family = c.view.byte(6);
    if (family == kSeeFamily2 && c.version.atLeast(2, 6) &&
        c.view.length() > 40)
        qvmAddProcessorFamily2(c.view.word(40), c.list);
    else
        qvmAddProcessorFamily(family, c.list);
    return 0;
}

// Byte 14 counts the slot handles that start at offset 15.
std::uint8_t associatedSlots(const RowContext& c)
{
    return c.view.byte(14);
}

std::int64_t slotHandles(const RowContext& c)
{
    const unsigned slots = associatedSlots(c);
    if (const auto handles = c.view.field(15, 2 * slots))
        qvmAddMemoryModuleConfigHandles(handles.data(), slots, c.list);
    return 0;
}

// The enabled error-correcting capabilities follow the handle list.
std::int64_t enabledErrorCorrection(const RowContext& c)
{
    qvmAddMcErrorCorrectCapability(c.view.byte(15 + 2 * associatedSlots(c)),
                                   c.list);
    return 0;
}

constexpr Gate kV23 = versionAtLeast(2, 3);
constexpr Gate kV25 = versionAtLeast(2, 5);
constexpr Gate kV30 = versionAtLeast(3, 0);
constexpr Gate kV31 = versionAtLeast(3, 1);

constexpr FieldRow kProcessor[] = {
    text(4, "SocketDesignation"),
    decode(5, qvmAddProcessorType),
    compute(processorFamily),
    text(7, "ProcessorManufacture"),
    dump(8, 8, "ProcessorId"),
    text(16, "ProcessorVersion"),
    decode(17, qvmAddProcessorVoltage),
    integer(18, U16, "ExternalClock"),
    integer(20, U16, "MaxSpeed"),
    integer(22, U16, "CurrentSpeed"),
    decode(24, qvmAddProcessorStatus),
    decode(25, qvmAddProcessorUpgrade),
    integer(26, U16, "L1CacheHandle"),
    integer(28, U16, "L2CacheHandle"),
    integer(30, U16, "L3CacheHandle"),
    text(32, "SerialNumber").when(kV23, lengthAbove(32)),
    text(33, "AssetTag").when(kV23, lengthAbove(32)),
    text(34, "PartNumber").when(kV23, lengthAbove(32)),
    integer(35, U8, "CoreCount").when(kV25, lengthAbove(35)),
    integer(36, U8, "EnabledCoreCount").when(kV25, lengthAbove(35)),
    integer(37, U8, "ThreadCount").when(kV25, lengthAbove(35)),
    decode(38, qvmAddProcessorCharacteristics, U16).when(kV25, lengthAbove(35)),
    integer(42, U16, "CoreCount2").when(kV30, lengthAbove(42)),
    integer(44, U16, "EnabledCoreCount2").when(kV30, lengthAbove(42)),
    integer(46, U16, "ThreadCount2").when(kV30, lengthAbove(42)),
};

// No gates: every field is read whatever the length.
constexpr FieldRow kMemoryController[] = {
    decode(4, qvmAddMcErrorDetectMethod),
    decode(5, qvmAddMcErrorCorrectCapability),
    label("Interleave", "Support"),
    decode(6, qvmAddMcInterleaveSupport),
    label("Interleave", "Current"),
    decode(7, qvmAddMcInterleaveSupport),
    decode({8, U8}, {14, U8}, qvmAddMaxMemoryModuleSize),
    decodeAt(9, 2, qvmAddMcMemorySpeeds),
    decodeAt(11, 2, qvmAddMmMemoryType),
    decode(13, qvmAddMemoryModuleVoltage),
    integer(14, U8, "AssociatedMemorySlotNum"),
    compute(slotHandles),
    compute(enabledErrorCorrection),
};

constexpr FieldRow kMemoryModule[] = {
    text(4, "SocketDesignation"),    decode(5, qvmAddMmBankConnections),
    integer(6, U8, "CurrentSpeed"),  decodeAt(7, 2, qvmAddMmMemoryType),
    label("Memory", "Installed "),   decode(9, qvmAddMmMemorySize),
    label("Memory", "Enabled "),     decode(10, qvmAddMmMemorySize),
    decode(11, qvmAddMmErrorStatus),
};

constexpr FieldRow kCache[] = {
    text(4, "SocketDesignation"),
    decode(5, qvmAddCacheConfiguration, U16),
    integer(7, U16, "MaximumCacheSize"),
    integer(9, U16, "InstalledSize"),
    decodeAt(11, 2, qvmAddCacheSupportedSRAMType),
    decodeAt(13, 2, qvmAddCacheSRAMType),
    integer(15, U8, "CacheSpeed"),
    decode(16, qvmAddCacheErrCorrectingType),
    decode(17, qvmAddCacheSystemCacheType),
    decode(18, qvmAddCacheAssociativity),
    integer(19, U32, "MaximumCacheSize2").when(kV31, lengthAbove(19)),
    integer(23, U32, "InstalledSize2").when(kV31, lengthAbove(19)),
};

const TypeMapping kProcessorMemoryMappings[] = {
    {4, kProcessor},
    {5, kMemoryController},
    {6, kMemoryModule},
    {7, kCache},
};

} // namespace

const std::span<const TypeMapping> processorMemoryMappings =
    kProcessorMemoryMappings;

} // namespace qvm::mapping
