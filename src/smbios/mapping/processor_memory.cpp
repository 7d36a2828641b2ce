// Types 4 to 7: processor, memory controller, memory module and cache.
#include "smbios/mapping/faithful_tables.hpp"
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
    c.out.list("Handle");
    if (const auto handles = c.view.field(15, 2 * slots))
        decode::addMemoryModuleConfigHandles(handles.data(), slots, c.out);
    return 0;
}

// The enabled error-correcting capabilities follow the handle list.
std::int64_t enabledErrorCorrection(const RowContext& c)
{
    const std::size_t at = 15 + 2 * std::size_t{associatedSlots(c)};
    if (!c.faithful() || at < c.view.length())
        decode::addMcErrorCorrectCapability(c.view.byte(at), c.out);
    return 0;
}

// A memory module's size code: 2^n MiB in bits 6:0, with three codes of
// their own; bit 7 says the bank connection is double.
void moduleSize(const RowContext& c, std::size_t offset, const char* key)
{
    const unsigned code = c.view.byte(offset) & 0x7FU;
    if (code == 0x7D) // not determinable
        c.out.null(key);
    else if (code >= 0x7E) // not enabled, not installed
        c.out.unsignedInteger(key, 0);
    else
        c.out.unsignedInteger(key, (std::uint64_t{1} << 20) << code);
}

std::int64_t moduleSizes(const RowContext& c)
{
    moduleSize(c, 9, "InstalledSize");
    moduleSize(c, 10, "EnabledSize");
    c.out.flag("DoubleBankConnection", (c.view.byte(9) & 0x80U) != 0);
    return 0;
}

// A cache size word counts 1 KiB units, or 64 KiB units when bit 15 is
// set; 0xFFFF points at the double word of the same form (bit 31) at
// offset2.
void cacheSize(const RowContext& c, std::size_t offset, std::size_t offset2,
               const char* key)
{
    const std::uint32_t word = c.view.word(offset);
    std::uint64_t units = word & 0x7FFFU;
    bool large = (word & 0x8000U) != 0;
    if (word == 0xFFFF && offset2 + 4 <= c.view.length())
    {
        const std::uint32_t dword = c.view.dword(offset2);
        units = dword & 0x7FFFFFFFU;
        large = (dword & 0x80000000U) != 0;
    }
    c.out.unsignedInteger(key, units << (large ? 16 : 10));
}

std::int64_t cacheSizes(const RowContext& c)
{
    cacheSize(c, 7, 19, "MaximumCacheSize");
    cacheSize(c, 9, 23, "InstalledSize");
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
    integer(18, U16, "ExternalClock").nullWhen(0),
    integer(20, U16, "MaxSpeed").nullWhen(0),
    integer(22, U16, "CurrentSpeed").nullWhen(0),
    decode(24, decode::addProcessorStatus),
    libraryOnly(decode(25, decode::addProcessorUpgrade)),
    enumText(25, "ProcessorUpgrade", kProcessorUpgrades),
    integer(26, U16, "L1CacheHandle").nullWhen(0xFFFF),
    integer(28, U16, "L2CacheHandle").nullWhen(0xFFFF),
    integer(30, U16, "L3CacheHandle").nullWhen(0xFFFF),
    text(32, "SerialNumber").when(kV23, lengthAbove(32)),
    text(33, "AssetTag").when(kV23, lengthAbove(32)),
    text(34, "PartNumber").when(kV23, lengthAbove(32)),
    // 0xFF counts on in the word of the same name from 3.0 on.
    integer(35, U8, "CoreCount")
        .extendedWhen(0xFF, {42, U16})
        .nullWhen(0)
        .when(kV25, lengthAbove(35)),
    integer(36, U8, "EnabledCoreCount")
        .extendedWhen(0xFF, {44, U16})
        .nullWhen(0)
        .when(kV25, lengthAbove(35)),
    integer(37, U8, "ThreadCount")
        .extendedWhen(0xFF, {46, U16})
        .nullWhen(0)
        .when(kV25, lengthAbove(35)),
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
    // The library shows both sizes under the same keys.
    libraryOnly(label("Memory", "Installed ")),
    libraryOnly(decode(9, decode::addMmMemorySize)),
    libraryOnly(label("Memory", "Enabled ")),
    libraryOnly(decode(10, decode::addMmMemorySize)),
    faithfulOnly(compute(moduleSizes)),
    decode(11, decode::addMmErrorStatus),
};

constexpr FieldRow kCache[] = {
    text(4, "SocketDesignation"),
    decode(5, decode::addCacheConfiguration, U16),
    libraryOnly(integer(7, U16, "MaximumCacheSize")),
    libraryOnly(integer(9, U16, "InstalledSize")),
    faithfulOnly(compute(cacheSizes)),
    // Both share their bit keys in the library.
    libraryOnly(decodeAt(11, 2, decode::addCacheSupportedSRAMType)),
    libraryOnly(decodeAt(13, 2, decode::addCacheSRAMType)),
    bitTexts(11, U16, "SupportedSRAMTypes", kSramTypes),
    bitTexts(13, U16, "InstalledSRAMType", kSramTypes),
    integer(15, U8, "CacheSpeed").nullWhen(0),
    decode(16, decode::addCacheErrCorrectingType),
    decode(17, decode::addCacheSystemCacheType),
    decode(18, decode::addCacheAssociativity),
    // Taken into the sizes above in the faithful view.
    libraryOnly(
        integer(19, U32, "MaximumCacheSize2").when(kV31, lengthAbove(19))),
    libraryOnly(integer(23, U32, "InstalledSize2").when(kV31, lengthAbove(19))),
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
