// The processor family: a byte for the families SMBIOS numbered first, a
// word for those added later (the byte then says 0xFE, "see the word").
#include "qvmclient.h"
#include "smbios/decode/field_emit.hpp"

#include <array>
#include <cstdint>
#include <iterator>

namespace qvm::decode
{
namespace
{

constexpr const char* kFamilyLabel = "Processor Family ";
constexpr const char* kUndefinedFamily = "Undefined processor family and type";

struct Family
{
    uint16_t value;
    const char* text;
};

constexpr Family kByteFamilies[] = {
    {1, "Other"},
    {2, "Unknown"},
    {3, "8086"},
    {4, "80286"},
    {5, "Intel386(TM) Processor"},
    {6, "Intel486(TM) Processor"},
    {7, "8087"},
    {8, "80287"},
    {9, "80387"},
    {10, "80487"},
    {11, "Pentium(R) Processor Family"},
    {12, "Pentium(R) Pro processor"},
    {13, "Pentium(R) II processor"},
    {14, "Pentium(R) processor with MMX(TM) technology"},
    {15, "Celeron(TM) processor"},
    {16, "Pentium(R) II Xeon(TM) processor"},
    {17, "Pentium(R) III Processor"},
    {18, "M1 Family"},
    {19, "M2 Family"},
    {20, "Intel Celeron M"},
    {21, "Intel Pentium 4 HT"},
    {24, "AMD Duron"},
    {25, "K5 Family"},
    {26, "K6 Family"},
    {27, "K6-2"},
    {28, "K6-3"},
    {29, "AMD Althon Processor Family"},
    {30, "AMD 29000 Family"},
    {31, "K6-2+"},
    {32, "Power PC Family"},
    {33, "Power PC 601"},
    {34, "Power PC 603"},
    {35, "Power PC 603+"},
    {36, "Power PC 604"},
    {37, "Power PC 620"},
    {38, "Power PC 704"},
    {39, "Power PC 750"},
    {40, "Intel(R) Core(TM) Duo processor"},
    {41, "Intel(R) Core(TM) Duo mobile processor"},
    {42, "Intel(R) Core(TM) Solo mobile processor"},
    {43, "Intel(R) Atom(TM) processor"},
    {44, "Intel(R) Core(TM) M processor"},
    {45, "Intel(R) Core(TM) m3 processor"},
    {46, "Intel(R) Core(TM) m5 processor"},
    {47, "Intel(R) Core(TM) m7 processor"},
    {48, "Alpha Family 2"},
    {49, "Alpha 21064"},
    {50, "Alpha 21066"},
    {51, "Alpha 21164"},
    {52, "Alpha 21164PC"},
    {53, "Alpha 21164a"},
    {54, "Alpha 21264"},
    {55, "Alpha 21364"},
    {56, "AMD Turion II Ultra Dual-Core Mobile M Processor Family"},
    {57, "AMD Turion II Dual-Core Mobile M Processor Family"},
    {58, "AMD Althon II Dual-Core M Processor Family"},
    {59, "AMD Opteron 6100 Series Processor"},
    {60, "AMD Opteron 4100 Series Processor"},
    {61, "AMD Opteron 6200 Series Processor"},
    {62, "AMD Opteron 4200 Series Processor"},
    {63, "AMD FX(TM) Series Processor"},
    {64, "MIPS Family"},
    {65, "MIPS R4000"},
    {66, "MIPS R4200"},
    {67, "MIPS R4400"},
    {68, "MIPS R4600"},
    {69, "MIPS R10000"},
    {70, "AMD C-Series Processor"},
    {71, "AMD E-Series Processor"},
    {72, "AMD A-Series Processor"},
    {73, "AMD G-Series Processor"},
    {74, "AMD Z-Series Processor"},
    {75, "AMD R-Series Processor"},
    {76, "AMD Opteron(TM) 4300 Series Processor"},
    {77, "AMD Opteron(TM) 6300 Series Processor"},
    {78, "AMD Opteron(TM) 3300 Series Processor"},
    {79, "AMD FirePro(TM) Series Processor"},
    {80, "SPARC Family"},
    {81, "SuperSparc"},
    {82, "microSparc II"},
    {83, "microSparc IIep"},
    {84, "UltraSparc"},
    {85, "UltraSparc II"},
    {86, "UltraSparcIIi"},
    {87, "UltraSparcIII"},
    {88, "UltraSparcIIIi"},
    {96, "68040 Family"},
    {97, "68xx"},
    {98, "68000"},
    {99, "68010"},
    {100, "68020"},
    {101, "68030"},
    {102, "AMD Athlon(TM) X4 Quad-Core Processor Family"},
    {103, "AMD Opteron(TM) X1000 Series Processor"},
    {104, "AMD Opteron(TM) X2000 Series APU"},
    {105, "AMD Opteron(TM) A-Series Processor"},
    {106, "AMD Opteron(TM) X3000 Series APU"},
    {107, "AMD Zen Processor Family"},
    {112, "Hobbit Family"},
    {120, "Crusoe TM5000"},
    {121, "Crusoe TM3000"},
    {122, "Efficeon TM8000"},
    {128, "Weitek"},
    {130, "Itanium"},
    {131, "AMD Athlon64"},
    {132, "AMD Opteron"},
    {133, "AMD Sempron"},
    {134, "AMD Turion64 Mobile"},
    {135, "Dual-Core AMD Opteron"},
    {136, "AMD Athlon 64X2 DualCore"},
    {137, "AMD Turion 64X2 Mobile"},
    {138, "Quad-Core AMD Opteron(TM) Processor Family"},
    {139, "Third-Generation AMD Opteron(TM) Processor Family"},
    {140, "AMD Phenom(TM) FX Quad-Core Processor Family"},
    {141, "AMD Phenom(TM) X4 Quad-Core Processor Family"},
    {142, "AMD Phenom(TM) X2 Dual-Core Processor Family"},
    {143, "AMD Athlon(TM) X2 Dual-Core Processor Family"},
    {144, "PA-RISC Family"},
    {145, "PA-RISC 8500"},
    {146, "PA-RISC 8000"},
    {147, "PA-RISC 7300LC"},
    {148, "PA-RISC 7200"},
    {149, "PA-RISC 7100LC"},
    {150, "PA-RISC 7100"},
    {160, "V30 Family"},
    {161, "Quad-Core Intel(R) Xeon(R) processor 3200 Series"},
    {162, "Dual-Core Intel(R) Xeon(R) processor 3000 Series"},
    {163, "Quad-Core Intel(R) Xeon(R) processor 5300 Series"},
    {164, "Dual-Core Intel(R) Xeon(R) processor 5100 Series"},
    {165, "Dual-Core Intel(R) Xeon(R) processor 5000 Series"},
    {166, "Dual-Core Intel(R) Xeon(R) processor LV"},
    {167, "Dual-Core Intel(R) Xeon(R) processor ULV"},
    {168, "Dual-Core Intel(R) Xeon(R) processor 7100 Series"},
    {169, "Quad-Core Intel(R) Xeon(R) processor 5400 Series"},
    {170, "Quad-Core Intel(R) Xeon(R) processor"},
    {171, "Dual-Core Intel(R) Xeon(R) processor 5200 Series"},
    {172, "Dual-Core Intel(R) Xeon(R) processor 7200 Series"},
    {173, "Quad-Core Intel(R) Xeon(R) processor 7300 Series"},
    {174, "Quad-Core Intel(R) Xeon(R) processor 7400 Series"},
    {175, "Multi-Core Intel(R) Xeon(R) processor 7400 Series"},
    {176, "Pentium(R) III Xeon(TM) Processor"},
    {177, "Pentium III Processorwith Intel SpeedStep Technology"},
    {178, "Pentium 4 processor"},
    {179, "Intel Xeon Processor"},
    {180, "AS400 Family"},
    {181, "Intel Xeon processor MP"},
    {182, "AMD Althon XP Processor Family"},
    {183, "AMD Althon MP Promcessor Family"},
    {184, "Intel Itanium 2 processor"},
    {185, "Intel Penium M processor"},
    {186, "Intel Celeron D processor"},
    {187, "Intel Pentium D processor"},
    {188, "Intel Pentium Processor Extreme Edition"},
    {189, "Intel Core Solo Processor"},
    {191, "Intel Core 2 Duo Processor"},
    {192, "Intel(R) Core(TM)2 Solo processor"},
    {193, "Intel(R) Core(TM)2 Extreme processor"},
    {194, "Intel(R) Core(TM)2 Quad processor"},
    {195, "Intel(R) Core(TM)2 Extreme mobile processor"},
    {196, "Intel(R) Core(TM)2 Duo mobile processor"},
    {197, "Intel(R) Core(TM)2 Solo mobile processor"},
    {198, "Intel(R) Core(TM) i7 processor"},
    {199, "Dual-Core Intel(R) Celeron(R) processor"},
    {200, "IBM 390"},
    {201, "G4"},
    {202, "G5"},
    {203, "G6"},
    {204, "zArchitecture"},
    {205, "Intel Core i5 processor"},
    {206, "Intel Core i3 processor"},
    {210, "ViaC7M"},
    {211, "ViaC7D"},
    {212, "ViaC7"},
    {213, "Eden"},
    {214, "Multi-Core Intel(R) Xeon(R) processor"},
    {215, "Dual-Core Intel(R) Xeon(R) processor 3xxx Series"},
    {216, "Quad-Core Intel(R) Xeon(R) processor 3xxx Series"},
    {218, "Dual-Core Intel(R) Xeon(R) processor 5xxx Series"},
    {219, "Quad-Core Intel(R) Xeon(R) processor 5xxx Series"},
    {221, "Dual-Core Intel(R) Xeon(R) processor 7xxx Series"},
    {222, "Quad-Core Intel(R) Xeon(R) processor 7xxx Series"},
    {223, "Multi-Core Intel(R) Xeon(R) processor 7xxx Series"},
    {224, "Multi-Core Intel Xeon processor 3400 Series"},
    {228, "AMD Opteron(TM) 3000 Series Processor"},
    {229, "AMD Sempron(TM) II Processor Family"},
    {230, "Embedded AMD Opteron(TM) Quad-Core Processor Family"},
    {231, "AMD Phenom(TM) Triple-Core Processor Family"},
    {232, "AMD Turion(TM) Ultra Dual-Core Mobile Processor Family"},
    {233, "AMD Turion(TM) Dual-Core Mobile Processor Family"},
    {234, "AMD Athlon(TM) Dual-Core Processor Family"},
    {235, "AMD Sempron(TM) SI Processor Family"},
    {236, "AMD Phenom II Processor Family"},
    {237, "AMD Althon II Processor Family"},
    {238, "Six-Core AMD Opteron Processor Family"},
    {239, "AMD Sempron M Processor Family"},
    {250, "i860"},
    {251, "i960"},
};

// Every byte value to its text, null where none is listed.
constexpr auto kFamilyOfByte = []
{
    std::array<const char*, 256> texts{};
    for (const Family& family : kByteFamilies)
        texts[family.value] = family.text;
    return texts;
}();

// 197 families are numbered between 1 and 251; the gaps, 0 and 252 to 255
// have no text of their own.
static_assert(std::size(kByteFamilies) == 197);
static_assert(kByteFamilies[std::size(kByteFamilies) - 1].value == 251);

constexpr Family kWordFamilies[] = {
    {256, "ARMv7"}, {257, "ARMv8"},     {260, "SH-3"}, {261, "SH-4"},
    {280, "ARM"},   {281, "StrongARM"}, {300, "6x86"}, {301, "MediaGX"},
    {302, "MII"},   {320, "WinChip"},   {350, "DSP"},  {500, "Video Processor"},
};

const char* wordFamilyText(uint32_t value)
{
    for (const Family& family : kWordFamilies)
    {
        if (family.value == value)
            return family.text;
    }
    return kUndefinedFamily;
}

void appendFamily(uint32_t value, const char* text, FieldSink& out)
{
    appendInteger(kFamilyLabel, value, out);
    out.text(kFamilyLabel, text);
}

} // namespace
} // namespace qvm::decode

void qvm::decode::addProcessorFamily(uint32_t value, FieldSink& out)
{
    const char* text = value < 256 ? kFamilyOfByte[value] : nullptr;
    appendFamily(value, text != nullptr ? text : kUndefinedFamily, out);
}

void qvm::decode::addProcessorFamily2(uint32_t value, FieldSink& out)
{
    appendFamily(value, wordFamilyText(value), out);
}
