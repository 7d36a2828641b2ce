#include "smbios/lint/structure_rules.hpp"

#include "smbios/decode/value_tables.hpp"

namespace qvm::smbios::rules
{
namespace
{

constexpr decode::SmbiosVersion v(std::uint8_t major, std::uint8_t minor)
{
    return {major, minor};
}

// Rows of one type in ascending version; the last one that applies holds.
constexpr MinimumLength kMinimumLengths[] = {
    {0, v(2, 0), 0x12},  {0, v(2, 4), 0x18},  {0, v(3, 1), 0x1A},
    {1, v(2, 0), 0x08},  {1, v(2, 1), 0x19},  {1, v(2, 4), 0x1B},
    {2, v(2, 0), 0x08},  {3, v(2, 0), 0x09},  {3, v(2, 1), 0x0D},
    {3, v(2, 3), 0x15},  {4, v(2, 0), 0x1A},  {4, v(2, 3), 0x23},
    {4, v(2, 5), 0x28},  {4, v(2, 6), 0x2A},  {4, v(3, 0), 0x30},
    {5, v(2, 0), 0x0F},  {6, v(2, 0), 0x0C},  {7, v(2, 0), 0x0F},
    {7, v(2, 1), 0x13},  {7, v(3, 1), 0x1B},  {8, v(2, 0), 0x09},
    {9, v(2, 0), 0x0C},  {9, v(2, 1), 0x0D},  {9, v(2, 6), 0x11},
    {9, v(3, 2), 0x13},  {11, v(2, 0), 0x05}, {12, v(2, 0), 0x05},
    {13, v(2, 0), 0x16}, {14, v(2, 0), 0x05}, {15, v(2, 0), 0x14},
    {15, v(2, 1), 0x17}, {16, v(2, 1), 0x0F}, {16, v(2, 7), 0x17},
    {17, v(2, 1), 0x15}, {17, v(2, 3), 0x1B}, {17, v(2, 6), 0x1C},
    {17, v(2, 7), 0x22}, {17, v(2, 8), 0x28}, {17, v(3, 2), 0x54},
    {17, v(3, 3), 0x5C}, {18, v(2, 1), 0x17}, {19, v(2, 1), 0x0F},
    {19, v(2, 7), 0x1F}, {20, v(2, 1), 0x13}, {20, v(2, 7), 0x23},
    {21, v(2, 1), 0x07}, {22, v(2, 1), 0x1A}, {23, v(2, 2), 0x0D},
    {24, v(2, 2), 0x05}, {25, v(2, 2), 0x09}, {26, v(2, 2), 0x14},
    {27, v(2, 2), 0x0C}, {28, v(2, 2), 0x14}, {29, v(2, 2), 0x14},
    {30, v(2, 2), 0x06}, {32, v(2, 2), 0x0B}, {33, v(2, 3), 0x1F},
    {34, v(2, 3), 0x0B}, {35, v(2, 3), 0x0B}, {36, v(2, 3), 0x10},
    {37, v(2, 3), 0x07}, {38, v(2, 3), 0x10}, {39, v(2, 3), 0x10},
    {41, v(2, 6), 0x0B}, {44, v(3, 3), 0x06}, {127, v(2, 0), 0x04},
};

constexpr FixedLength kFixedLengths[] = {
    {6, 0x0C},  {8, 0x09},  {11, 0x05},  {12, 0x05}, {13, 0x16}, {16, 0x17},
    {18, 0x17}, {19, 0x1F}, {20, 0x23},  {21, 0x07}, {22, 0x1A}, {23, 0x0D},
    {24, 0x05}, {25, 0x09}, {30, 0x06},  {33, 0x1F}, {34, 0x0B}, {35, 0x0B},
    {36, 0x10}, {41, 0x0B}, {127, 0x04},
};

constexpr StringField kStringFields[] = {
    {0, 0x04},  {0, 0x05},  {0, 0x08},  {1, 0x04},  {1, 0x05},  {1, 0x06},
    {1, 0x07},  {1, 0x19},  {1, 0x1A},  {2, 0x04},  {2, 0x05},  {2, 0x06},
    {2, 0x07},  {2, 0x08},  {2, 0x0A},  {3, 0x04},  {3, 0x06},  {3, 0x07},
    {3, 0x08},  {4, 0x04},  {4, 0x07},  {4, 0x10},  {4, 0x20},  {4, 0x21},
    {4, 0x22},  {6, 0x04},  {7, 0x04},  {8, 0x04},  {8, 0x06},  {9, 0x04},
    {13, 0x15}, {14, 0x04}, {17, 0x10}, {17, 0x11}, {17, 0x17}, {17, 0x18},
    {17, 0x19}, {17, 0x1A}, {17, 0x2B}, {22, 0x04}, {22, 0x05}, {22, 0x06},
    {22, 0x07}, {22, 0x08}, {22, 0x0E}, {22, 0x14}, {26, 0x04}, {27, 0x0E},
    {28, 0x04}, {29, 0x04}, {34, 0x04}, {35, 0x04}, {39, 0x05}, {39, 0x06},
    {39, 0x07}, {39, 0x08}, {39, 0x09}, {39, 0x0A}, {39, 0x0B}, {41, 0x04},
};

constexpr Reference kReferences[] = {
    {4, 0x1A, "L1 cache", 7, kNoType, false},
    {4, 0x1C, "L2 cache", 7, kNoType, false},
    {4, 0x1E, "L3 cache", 7, kNoType, false},
    {16, 0x0B, "memory error information", 18, 33, true},
    {17, 0x04, "physical memory array", 16, kNoType, false},
    {17, 0x06, "memory error information", 18, 33, true},
    {19, 0x0C, "physical memory array", 16, kNoType, false},
    {20, 0x0C, "memory device", 17, kNoType, false},
    {20, 0x0E, "memory array mapped address", 19, kNoType, false},
    {27, 0x04, "temperature probe", 28, kNoType, false},
    {35, 0x05, "management device", 34, kNoType, false},
    {35, 0x09, "management device threshold data", 36, kNoType, false},
    {39, 0x10, "input voltage probe", 26, kNoType, false},
    {39, 0x12, "cooling device", 27, kNoType, false},
    {39, 0x14, "input current probe", 29, kNoType, false},
    {44, 0x04, "referenced processor", 4, kNoType, false},
};

constexpr Enumeration kEnumerations[] = {
    {1, 0x18, "wake-up type", 0xFF, decode::tables::SystemWakeupType},
    {2, 0x0D, "board type", 0xFF, decode::tables::BaseBoardBoardType},
    {3, 0x05, "enclosure type", 0x7F, decode::tables::SystemEnclosureType},
    {3, 0x09, "boot-up state", 0xFF, decode::tables::SystemEnclosureStatus},
    {3, 0x0A, "power supply state", 0xFF,
     decode::tables::SystemEnclosureStatus},
    {3, 0x0B, "thermal state", 0xFF, decode::tables::SystemEnclosureStatus},
    {3, 0x0C, "security status", 0xFF, decode::tables::SESecurityStatus},
    {4, 0x05, "processor type", 0xFF, decode::tables::ProcessorType},
    {7, 0x10, "error correction type", 0xFF,
     decode::tables::CacheErrCorrectingType},
    {7, 0x11, "system cache type", 0xFF, decode::tables::CacheSystemCacheType},
    {7, 0x12, "associativity", 0xFF, decode::tables::CacheAssociativity},
    {16, 0x05, "use", 0xFF, decode::tables::PMAUse},
    {16, 0x06, "error correction type", 0xFF,
     decode::tables::PMAErrorCorrectionTypes},
    {17, 0x0E, "form factor", 0xFF, decode::tables::MemoryDeviceFormFactor},
    {9, 0x07, "current usage", 0xFF, decode::tables::SystemSlotCurrentUsage},
    {9, 0x08, "slot length", 0xFF, decode::tables::SystemSlotLength},
};

constexpr ReservedBits kReservedBits[] = {
    {4, 0x18, 1, "processor status", 0xB8},
    {7, 0x05, 2, "cache configuration", 0xFC00},
    {17, 0x13, 2, "type detail", 0x0001},
};

constexpr Required kRequired[] = {
    {0, "BIOS information", v(2, 3)},
    {1, "system information", v(2, 3)},
    {3, "system enclosure", v(2, 3)},
    {4, "processor information", v(2, 3)},
    {7, "cache information", v(2, 3)},
    {9, "system slots", v(2, 3)},
    {16, "physical memory array", v(2, 3)},
    {17, "memory device", v(2, 3)},
    {19, "memory array mapped address", v(2, 3)},
    {32, "system boot information", v(2, 3)},
};

} // namespace

const Rules& all() noexcept
{
    static constexpr Rules kRules{kMinimumLengths, kFixedLengths, kStringFields,
                                  kReferences,     kEnumerations, kReservedBits,
                                  kRequired};
    return kRules;
}

} // namespace qvm::smbios::rules
