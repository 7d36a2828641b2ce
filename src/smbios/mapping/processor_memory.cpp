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
        decode::addProcessorFamily2(c.view.word(40), c.out);
    else
        decode::addProcessorFamily(family, c.out);
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
        decode::addMemoryModuleConfigHandles(handles.data(), slots, c.out);
    return 0;
}

// The enabled error-correcting capabilities follow the handle list.
std::int64_t enabledErrorCorrection(const RowContext& c)
{
    decode::addMcErrorCorrectCapability(
        c.view.byte(15 + 2 * associatedSlots(c)), c.out);
    return 0;
}

constexpr Gate kV23 = versionAtLeast(2, 3);
constexpr Gate kV25 = versionAtLeast(2, 5);
constexpr Gate kV30 = versionAtLeast(3, 0);
constexpr Gate kV31 = versionAtLeast(3, 1);

constexpr FieldRow kProcessor[] = {
    text(4, "SocketDesignation"),
    decode(5, decode::addProcessorType),
    compute(processorFamily),
    text(7, "ProcessorManufacture"),
    dump(8, 8, "ProcessorId"),
    text(16, "ProcessorVersion"),
    decode(17, decode::addProcessorVoltage),
    integer(18, U16, "ExternalClock"),
    integer(20, U16, "MaxSpeed"),
    integer(22, U16, "CurrentSpeed"),
    decode(24, decode::addProcessorStatus),
    decode(25, decode::addProcessorUpgrade),
    integer(26, U16, "L1CacheHandle"),
    integer(28, U16, "L2CacheHandle"),
    integer(30, U16, "L3CacheHandle"),
    text(32, "SerialNumber").when(kV23, lengthAbove(32)),
    text(33, "AssetTag").when(kV23, lengthAbove(32)),
    text(34, "PartNumber").when(kV23, lengthAbove(32)),
    integer(35, U8, "CoreCount").when(kV25, lengthAbove(35)),
    integer(36, U8, "EnabledCoreCount").when(kV25, lengthAbove(35)),
    integer(37, U8, "ThreadCount").when(kV25, lengthAbove(35)),
    decode(38, decode::addProcessorCharacteristics, U16)
        .when(kV25, lengthAbove(35)),
    integer(42, U16, "CoreCount2").when(kV30, lengthAbove(42)),
    integer(44, U16, "EnabledCoreCount2").when(kV30, lengthAbove(42)),
    integer(46, U16, "ThreadCount2").when(kV30, lengthAbove(42)),
};

// No gates: every field is read whatever the length.
constexpr FieldRow kMemoryController[] = {
    decode(4, decode::addMcErrorDetectMethod),
    decode(5, decode::addMcErrorCorrectCapability),
    label("Interleave", "Support"),
    decode(6, decode::addMcInterleaveSupport),
    label("Interleave", "Current"),
    decode(7, decode::addMcInterleaveSupport),
    decode({8, U8}, {14, U8}, decode::addMaxMemoryModuleSize),
    decodeAt(9, 2, decode::addMcMemorySpeeds),
    decodeAt(11, 2, decode::addMmMemoryType),
    decode(13, decode::addMemoryModuleVoltage),
    integer(14, U8, "AssociatedMemorySlotNum"),
    compute(slotHandles),
    compute(enabledErrorCorrection),
};

constexpr FieldRow kMemoryModule[] = {
    text(4, "SocketDesignation"),
    decode(5, decode::addMmBankConnections),
    integer(6, U8, "CurrentSpeed"),
    decodeAt(7, 2, decode::addMmMemoryType),
    label("Memory", "Installed "),
    decode(9, decode::addMmMemorySize),
    label("Memory", "Enabled "),
    decode(10, decode::addMmMemorySize),
    decode(11, decode::addMmErrorStatus),
};

constexpr FieldRow kCache[] = {
    text(4, "SocketDesignation"),
    decode(5, decode::addCacheConfiguration, U16),
    integer(7, U16, "MaximumCacheSize"),
    integer(9, U16, "InstalledSize"),
    decodeAt(11, 2, decode::addCacheSupportedSRAMType),
    decodeAt(13, 2, decode::addCacheSRAMType),
    integer(15, U8, "CacheSpeed"),
    decode(16, decode::addCacheErrCorrectingType),
    decode(17, decode::addCacheSystemCacheType),
    decode(18, decode::addCacheAssociativity),
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
