// The texts operators know from the reference decoder's output, for the
// codes whose texts it prints in its own words (the library's export keeps
// the SMBIOS names, which differ in places).
#include "smbios/view/reference_texts.hpp"

#include <algorithm>
#include <iterator>

namespace qvm::smbios
{
namespace
{

struct CodeText
{
    std::uint16_t code;
    const char* text;
};

template <std::size_t N>
consteval bool strictlyAscending(const CodeText (&rows)[N])
{
    for (std::size_t i = 1; i < N; ++i)
    {
        if (rows[i - 1].code >= rows[i].code)
            return false;
    }
    return true;
}

// Byte codes and word codes (from 0x100) share one numbering; 0xBE and
// 0xFE are left out: their text depends on more than the code.
constexpr CodeText kProcessorFamilies[] = {
    {0x001, "Other"},
    {0x002, "Unknown"},
    {0x003, "8086"},
    {0x004, "80286"},
    {0x005, "80386"},
    {0x006, "80486"},
    {0x007, "8087"},
    {0x008, "80287"},
    {0x009, "80387"},
    {0x00A, "80487"},
    {0x00B, "Pentium"},
    {0x00C, "Pentium Pro"},
    {0x00D, "Pentium II"},
    {0x00E, "Pentium MMX"},
    {0x00F, "Celeron"},
    {0x010, "Pentium II Xeon"},
    {0x011, "Pentium III"},
    {0x012, "M1"},
    {0x013, "M2"},
    {0x014, "Celeron M"},
    {0x015, "Pentium 4 HT"},
    {0x018, "Duron"},
    {0x019, "K5"},
    {0x01A, "K6"},
    {0x01B, "K6-2"},
    {0x01C, "K6-3"},
    {0x01D, "Athlon"},
    {0x01E, "AMD29000"},
    {0x01F, "K6-2+"},
    {0x020, "Power PC"},
    {0x021, "Power PC 601"},
    {0x022, "Power PC 603"},
    {0x023, "Power PC 603+"},
    {0x024, "Power PC 604"},
    {0x025, "Power PC 620"},
    {0x026, "Power PC x704"},
    {0x027, "Power PC 750"},
    {0x028, "Core Duo"},
    {0x029, "Core Duo Mobile"},
    {0x02A, "Core Solo Mobile"},
    {0x02B, "Atom"},
    {0x02C, "Core M"},
    {0x02D, "Core m3"},
    {0x02E, "Core m5"},
    {0x02F, "Core m7"},
    {0x030, "Alpha"},
    {0x031, "Alpha 21064"},
    {0x032, "Alpha 21066"},
    {0x033, "Alpha 21164"},
    {0x034, "Alpha 21164PC"},
    {0x035, "Alpha 21164a"},
    {0x036, "Alpha 21264"},
    {0x037, "Alpha 21364"},
    {0x038, "Turion II Ultra Dual-Core Mobile M"},
    {0x039, "Turion II Dual-Core Mobile M"},
    {0x03A, "Athlon II Dual-Core M"},
    {0x03B, "Opteron 6100"},
    {0x03C, "Opteron 4100"},
    {0x03D, "Opteron 6200"},
    {0x03E, "Opteron 4200"},
    {0x03F, "FX"},
    {0x040, "MIPS"},
    {0x041, "MIPS R4000"},
    {0x042, "MIPS R4200"},
    {0x043, "MIPS R4400"},
    {0x044, "MIPS R4600"},
    {0x045, "MIPS R10000"},
    {0x046, "C-Series"},
    {0x047, "E-Series"},
    {0x048, "A-Series"},
    {0x049, "G-Series"},
    {0x04A, "Z-Series"},
    {0x04B, "R-Series"},
    {0x04C, "Opteron 4300"},
    {0x04D, "Opteron 6300"},
    {0x04E, "Opteron 3300"},
    {0x04F, "FirePro"},
    {0x050, "SPARC"},
    {0x051, "SuperSPARC"},
    {0x052, "MicroSPARC II"},
    {0x053, "MicroSPARC IIep"},
    {0x054, "UltraSPARC"},
    {0x055, "UltraSPARC II"},
    {0x056, "UltraSPARC IIi"},
    {0x057, "UltraSPARC III"},
    {0x058, "UltraSPARC IIIi"},
    {0x060, "68040"},
    {0x061, "68xxx"},
    {0x062, "68000"},
    {0x063, "68010"},
    {0x064, "68020"},
    {0x065, "68030"},
    {0x066, "Athlon X4"},
    {0x067, "Opteron X1000"},
    {0x068, "Opteron X2000"},
    {0x069, "Opteron A-Series"},
    {0x06A, "Opteron X3000"},
    {0x06B, "Zen"},
    {0x070, "Hobbit"},
    {0x078, "Crusoe TM5000"},
    {0x079, "Crusoe TM3000"},
    {0x07A, "Efficeon TM8000"},
    {0x080, "Weitek"},
    {0x082, "Itanium"},
    {0x083, "Athlon 64"},
    {0x084, "Opteron"},
    {0x085, "Sempron"},
    {0x086, "Turion 64"},
    {0x087, "Dual-Core Opteron"},
    {0x088, "Athlon 64 X2"},
    {0x089, "Turion 64 X2"},
    {0x08A, "Quad-Core Opteron"},
    {0x08B, "Third-Generation Opteron"},
    {0x08C, "Phenom FX"},
    {0x08D, "Phenom X4"},
    {0x08E, "Phenom X2"},
    {0x08F, "Athlon X2"},
    {0x090, "PA-RISC"},
    {0x091, "PA-RISC 8500"},
    {0x092, "PA-RISC 8000"},
    {0x093, "PA-RISC 7300LC"},
    {0x094, "PA-RISC 7200"},
    {0x095, "PA-RISC 7100LC"},
    {0x096, "PA-RISC 7100"},
    {0x0A0, "V30"},
    {0x0A1, "Quad-Core Xeon 3200"},
    {0x0A2, "Dual-Core Xeon 3000"},
    {0x0A3, "Quad-Core Xeon 5300"},
    {0x0A4, "Dual-Core Xeon 5100"},
    {0x0A5, "Dual-Core Xeon 5000"},
    {0x0A6, "Dual-Core Xeon LV"},
    {0x0A7, "Dual-Core Xeon ULV"},
    {0x0A8, "Dual-Core Xeon 7100"},
    {0x0A9, "Quad-Core Xeon 5400"},
    {0x0AA, "Quad-Core Xeon"},
    {0x0AB, "Dual-Core Xeon 5200"},
    {0x0AC, "Dual-Core Xeon 7200"},
    {0x0AD, "Quad-Core Xeon 7300"},
    {0x0AE, "Quad-Core Xeon 7400"},
    {0x0AF, "Multi-Core Xeon 7400"},
    {0x0B0, "Pentium III Xeon"},
    {0x0B1, "Pentium III Speedstep"},
    {0x0B2, "Pentium 4"},
    {0x0B3, "Xeon"},
    {0x0B4, "AS400"},
    {0x0B5, "Xeon MP"},
    {0x0B6, "Athlon XP"},
    {0x0B7, "Athlon MP"},
    {0x0B8, "Itanium 2"},
    {0x0B9, "Pentium M"},
    {0x0BA, "Celeron D"},
    {0x0BB, "Pentium D"},
    {0x0BC, "Pentium EE"},
    {0x0BD, "Core Solo"},
    {0x0BF, "Core 2 Duo"},
    {0x0C0, "Core 2 Solo"},
    {0x0C1, "Core 2 Extreme"},
    {0x0C2, "Core 2 Quad"},
    {0x0C3, "Core 2 Extreme Mobile"},
    {0x0C4, "Core 2 Duo Mobile"},
    {0x0C5, "Core 2 Solo Mobile"},
    {0x0C6, "Core i7"},
    {0x0C7, "Dual-Core Celeron"},
    {0x0C8, "IBM390"},
    {0x0C9, "G4"},
    {0x0CA, "G5"},
    {0x0CB, "ESA/390 G6"},
    {0x0CC, "z/Architecture"},
    {0x0CD, "Core i5"},
    {0x0CE, "Core i3"},
    {0x0CF, "Core i9"},
    {0x0D2, "C7-M"},
    {0x0D3, "C7-D"},
    {0x0D4, "C7"},
    {0x0D5, "Eden"},
    {0x0D6, "Multi-Core Xeon"},
    {0x0D7, "Dual-Core Xeon 3xxx"},
    {0x0D8, "Quad-Core Xeon 3xxx"},
    {0x0D9, "Nano"},
    {0x0DA, "Dual-Core Xeon 5xxx"},
    {0x0DB, "Quad-Core Xeon 5xxx"},
    {0x0DD, "Dual-Core Xeon 7xxx"},
    {0x0DE, "Quad-Core Xeon 7xxx"},
    {0x0DF, "Multi-Core Xeon 7xxx"},
    {0x0E0, "Multi-Core Xeon 3400"},
    {0x0E4, "Opteron 3000"},
    {0x0E5, "Sempron II"},
    {0x0E6, "Embedded Opteron Quad-Core"},
    {0x0E7, "Phenom Triple-Core"},
    {0x0E8, "Turion Ultra Dual-Core Mobile"},
    {0x0E9, "Turion Dual-Core Mobile"},
    {0x0EA, "Athlon Dual-Core"},
    {0x0EB, "Sempron SI"},
    {0x0EC, "Phenom II"},
    {0x0ED, "Athlon II"},
    {0x0EE, "Six-Core Opteron"},
    {0x0EF, "Sempron M"},
    {0x0FA, "i860"},
    {0x0FB, "i960"},
    {0x100, "ARMv7"},
    {0x101, "ARMv8"},
    {0x104, "SH-3"},
    {0x105, "SH-4"},
    {0x118, "ARM"},
    {0x119, "StrongARM"},
    {0x12C, "6x86"},
    {0x12D, "MediaGX"},
    {0x12E, "MII"},
    {0x140, "WinChip"},
    {0x15E, "DSP"},
    {0x1F4, "Video Processor"},
    {0x200, "RV32"},
    {0x201, "RV64"},
    {0x202, "RV128"},
};
static_assert(strictlyAscending(kProcessorFamilies));

// Indexed by the type code with the lock bit cleared.
constexpr CodeText kChassisTypes[] = {
    {0x01, "Other"},
    {0x02, "Unknown"},
    {0x03, "Desktop"},
    {0x04, "Low Profile Desktop"},
    {0x05, "Pizza Box"},
    {0x06, "Mini Tower"},
    {0x07, "Tower"},
    {0x08, "Portable"},
    {0x09, "Laptop"},
    {0x0A, "Notebook"},
    {0x0B, "Hand Held"},
    {0x0C, "Docking Station"},
    {0x0D, "All In One"},
    {0x0E, "Sub Notebook"},
    {0x0F, "Space-saving"},
    {0x10, "Lunch Box"},
    {0x11, "Main Server Chassis"},
    {0x12, "Expansion Chassis"},
    {0x13, "Sub Chassis"},
    {0x14, "Bus Expansion Chassis"},
    {0x15, "Peripheral Chassis"},
    {0x16, "RAID Chassis"},
    {0x17, "Rack Mount Chassis"},
    {0x18, "Sealed-case PC"},
    {0x19, "Multi-system"},
    {0x1A, "CompactPCI"},
    {0x1B, "AdvancedTCA"},
    {0x1C, "Blade"},
    {0x1D, "Blade Enclosing"},
    {0x1E, "Tablet"},
    {0x1F, "Convertible"},
    {0x20, "Detachable"},
    {0x21, "IoT Gateway"},
    {0x22, "Embedded PC"},
    {0x23, "Mini PC"},
    {0x24, "Stick PC"},
};
static_assert(strictlyAscending(kChassisTypes));

template <std::size_t N>
const char* lookUp(const CodeText (&rows)[N], std::uint16_t code) noexcept
{
    const auto* found =
        std::lower_bound(std::begin(rows), std::end(rows), code,
                         [](const CodeText& row, std::uint16_t wanted)
                         { return row.code < wanted; });
    return found != std::end(rows) && found->code == code ? found->text
                                                          : nullptr;
}

} // namespace

const char* processorFamilyText(std::uint16_t code) noexcept
{
    return lookUp(kProcessorFamilies, code);
}

const char* chassisTypeText(std::uint8_t code) noexcept
{
    return lookUp(kChassisTypes, code & 0x7F);
}

} // namespace qvm::smbios
