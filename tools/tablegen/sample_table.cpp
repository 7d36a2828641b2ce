// An invented two-socket 2U server with sixteen DIMMs, described the way its
// firmware would: fields in the SMBIOS layouts of the version its BIOS
// release bytes name (3.2). Every maker, model, serial number and UUID here
// is made up.
#include "tablegen/sample_table.hpp"

#include <array>
#include <cstdio>
#include <string>

namespace tablegen
{
namespace
{

constexpr int kSockets = 2;
constexpr int kChannels = 8; // one DIMM per channel
constexpr int kDimms = kSockets * kChannels;

constexpr std::uint16_t kChassis = handle(3);
constexpr std::uint16_t kMemoryArray = handle(16);
constexpr std::uint16_t kArrayMapping = handle(19);
constexpr std::uint16_t kNotProvided = 0xFFFE;
constexpr std::uint16_t kNoProbe = 0xFFFF;
constexpr std::uint16_t cacheHandle(int socket, int level)
{
    return handle(7, socket * 3 + level - 1);
}

constexpr char kMaker[] = "Quorvane Systems";
constexpr std::uint64_t kKiB = 1024;
constexpr std::uint64_t kGiB = kKiB * kKiB * kKiB;
constexpr std::uint64_t kDimmBytes = 32 * kGiB;

std::string dimmName(int dimm)
{
    return std::string("DIMM ") + static_cast<char>('A' + dimm % kChannels) +
           std::to_string(dimm / kChannels);
}

std::string hex(std::uint32_t value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

StructureBuilder bios()
{
    constexpr std::uint64_t characteristics =
        1U << 7 |  // PCI
        1U << 11 | // upgradeable (flash)
        1U << 12 | // shadowing allowed
        1U << 15 | // boot from CD
        1U << 16 | // selectable boot
        1U << 19 | // EDD
        1U << 26 | // print screen service
        1U << 27 | // 8042 keyboard services
        1U << 28;  // serial services
    return StructureBuilder(0, 0x1A, handle(0))
        .string(4, kMaker)
        .string(5, "3.2.7")
        .u16(6, 0xF000)
        .string(8, "02/11/2026")
        .u8(9, 0xFF) // size in the extended field
        .u64(10, characteristics)
        .u8(18, 0x03) // ACPI, USB legacy
        .u8(19, 0x0D) // BIOS boot standard, content distribution, UEFI
        .u8(20, 3)
        .u8(21, 2)
        .u8(22, 0xFF) // no embedded controller
        .u8(23, 0xFF)
        .u16(24, 32); // 32 MB
}

StructureBuilder system()
{
    return StructureBuilder(1, 0x1B, handle(1))
        .string(4, kMaker)
        .string(5, "QS-2200")
        .string(6, "A03")
        .string(7, "QS22C0417")
        .bytes(8, {0xc4, 0x93, 0x1e, 0x6b, 0x5d, 0x27, 0x0f, 0x4a, 0x9e, 0x31,
                   0xc8, 0x52, 0xa7, 0x40, 0xbd, 0x16})
        .u8(24, 6) // power switch
        .string(25, "QS2200-2S-BASE")
        .string(26, "QS Rack");
}

StructureBuilder baseboard()
{
    return StructureBuilder(2, 0x0F, handle(2))
        .string(4, kMaker)
        .string(5, "QS-MB2200")
        .string(6, "C03")
        .string(7, "MB24C55123")
        .u8(9, 0x09) // hosting board, replaceable
        .string(10, "Main board slot")
        .u16(11, kChassis)
        .u8(13, 0x0A); // motherboard; no contained handles
}

StructureBuilder chassis()
{
    return StructureBuilder(3, 0x16, kChassis)
        .string(4, kMaker)
        .u8(5, 0x17) // rack mount chassis
        .string(6, "2U")
        .string(7, "CH24C10087")
        .string(8, "LAB-RACK4-U17")
        .u8(9, 3) // boot-up, power supply, thermal: safe
        .u8(10, 3)
        .u8(11, 3)
        .u8(12, 3) // no security
        .u8(17, 2) // 2U
        .u8(18, 2) // two power cords
        .u8(20, 3) // no contained elements
        .string(21, "CH2U-0042");
}

// L1 to L3 of one socket of 32 cores; sizes in 64 KiB units from L2 on.
StructureBuilder cache(int socket, int level)
{
    struct Level
    {
        std::uint16_t size;
        std::uint8_t ecc;
        std::uint8_t associativity;
    };
    constexpr std::array<Level, 3> levels{{
        {2048, 0x04, 0x07},          // 2 MiB, parity, 8-way
        {0x8000 | 512, 0x05, 0x08},  // 32 MiB, single-bit ECC, 16-way
        {0x8000 | 1024, 0x06, 0x09}, // 64 MiB, multi-bit ECC, 12-way
    }};
    const Level& l = levels.at(static_cast<std::size_t>(level - 1));
    const std::uint32_t size2 =
        (l.size & 0x8000U) != 0 ? 0x80000000U | (l.size & 0x7FFFU) : l.size;
    return StructureBuilder(7, 0x1B, cacheHandle(socket, level))
        .string(4, std::string{'L', static_cast<char>('0' + level)} + " Cache")
        // level, internal, enabled, write back
        .u16(5, static_cast<std::uint16_t>(0x0180 | (level - 1)))
        .u16(7, l.size)
        .u16(9, l.size)
        .u16(11, 0x0020) // synchronous
        .u16(13, 0x0020)
        .u8(16, l.ecc)
        .u8(17, 0x05) // unified
        .u8(18, l.associativity)
        .u32(19, size2)
        .u32(23, size2);
}

StructureBuilder processor(int socket)
{
    const auto s = static_cast<std::uint8_t>(socket);
    return StructureBuilder(4, 0x30, handle(4, socket))
        .string(4, "CPU" + std::to_string(socket))
        .u8(5, 0x03) // central processor
        .u8(6, 0x01) // family: other
        .string(7, "Corvalen Semiconductor")
        .u64(8, 0x00C3A5100B2A0041ULL)
        .string(16, "CS-9300 32-Core Processor")
        .u8(17, 0x80 | 11) // 1.1 V
        .u16(18, 100)
        .u16(20, 3800)
        .u16(22, 2600)
        .u8(24, 0x41) // populated, enabled
        .u8(25, 0x01) // socket: other
        .u16(26, cacheHandle(socket, 1))
        .u16(28, cacheHandle(socket, 2))
        .u16(30, cacheHandle(socket, 3))
        .string(32, "0x5A3B10C" + std::to_string(s))
        .string(34, "CS-9300-32C")
        .u8(35, 32)
        .u8(36, 32)
        .u8(37, 64)
        // 64-bit, multi-core, threads, execute protection, virtualization,
        // power/performance control
        .u16(38, 0x00FC)
        .u16(40, 0x0001)
        .u16(42, 32)
        .u16(44, 32)
        .u16(46, 64);
}

// Rear panel connectors, each wired from a board header, and one internal
// USB header with no external side.
struct Port
{
    const char* internal;
    std::uint8_t internalType; // none 0, USB 18
    const char* external;
    std::uint8_t externalType; // DB-15 female 7, DB-9 male 8, RJ-45 11
    std::uint8_t portType;     // serial 9, USB 16, video 28, network 31
};

constexpr std::array<Port, 5> kPorts{{
    {"J9", 0, "Rear USB 1", 18, 16},
    {"J10", 0, "Rear USB 2", 18, 16},
    {"J11", 0, "Rear VGA", 7, 28},
    {"J12", 0, "Rear Serial", 8, 9},
    {"J14 Internal USB", 18, nullptr, 0, 16},
}};

StructureBuilder port(int index)
{
    const Port& p = kPorts.at(static_cast<std::size_t>(index));
    StructureBuilder b(8, 9, handle(8, index));
    b.string(4, p.internal).u8(5, p.internalType);
    if (p.external != nullptr)
        b.string(6, p.external);
    return b.u8(7, p.externalType).u8(8, p.portType);
}

// Older inventory tools still read the memory controller and module
// structures, so the firmware adds them for the two channel-A DIMMs.
constexpr int kLegacyModules = 2;

StructureBuilder memoryController()
{
    StructureBuilder b(5, 15 + 2 * kLegacyModules + 1, handle(5));
    b.u8(4, 0x06)        // 64-bit ECC
        .u8(5, 0x18)     // single- and double-bit correction
        .u8(6, 0x06)     // eight-way interleave supported
        .u8(7, 0x06)     // and in use
        .u8(8, 15)       // 2^15 MB per module
        .u16(9, 0x0001)  // speed: other
        .u16(11, 0x0540) // ECC, DIMM, SDRAM
        .u8(13, 0x00)    // none of the listed voltages
        .u8(14, kLegacyModules);
    for (int m = 0; m < kLegacyModules; ++m)
        b.u16(15 + 2 * static_cast<std::size_t>(m), handle(6, m));
    return b.u8(15 + 2 * kLegacyModules, 0x18);
}

StructureBuilder memoryModule(int module)
{
    return StructureBuilder(6, 12, handle(6, module))
        .string(4, dimmName(module * kChannels))
        .u8(5, 0x01)    // banks 0 and 1
        .u8(6, 0)       // speed unknown
        .u16(7, 0x0540) // ECC, DIMM, SDRAM
        .u8(9, 0x8F)    // 2^15 MB, double-bank
        .u8(10, 0x8F)
        .u8(11, 0);
}

struct Slot
{
    const char* name;
    std::uint8_t type; // PCI Express Gen 3 x16 or x8
    std::uint8_t width;
    bool inUse;
    std::uint8_t bus;
};

constexpr std::array<Slot, 4> kSlots{{
    {"PCIe Slot 1", 0xB6, 16, true, 0x17},
    {"PCIe Slot 2", 0xB6, 16, false, 0xFF},
    {"PCIe Slot 3", 0xB5, 8, false, 0xFF},
    {"PCIe Slot 4", 0xB5, 8, true, 0x85},
}};

StructureBuilder slot(int index)
{
    const Slot& s = kSlots.at(static_cast<std::size_t>(index));
    return StructureBuilder(9, 0x13, handle(9, index))
        .string(4, s.name)
        .u8(5, s.type)
        .u8(6, s.width == 16 ? 0x0D : 0x0B)
        .u8(7, s.inUse ? 4 : 3)       // in use, available
        .u8(8, s.width == 16 ? 4 : 3) // long, short
        .u16(9, static_cast<std::uint16_t>(index + 1))
        .u8(11, 0x04)                  // 3.3 V
        .u8(12, 0x03)                  // PME, hot-plug
        .u16(13, s.inUse ? 0 : 0xFFFF) // no address while empty
        .u8(15, s.bus)
        .u8(16, s.inUse ? 0x00 : 0xFF)
        .u8(17, s.width);
}

struct OnboardDevice
{
    const char* name;
    std::uint8_t type; // video 3, Ethernet 5, SATA 9
    std::uint8_t instance;
    std::uint8_t bus;
    std::uint8_t devfn;
};

constexpr std::array<OnboardDevice, 4> kOnboard{{
    {"Embedded Video", 3, 1, 0x03, 0x00},
    {"Embedded NIC 1", 5, 1, 0x18, 0x00},
    {"Embedded NIC 2", 5, 2, 0x18, 0x01},
    {"Embedded SATA", 9, 1, 0x00, 0xB8},
}};
constexpr std::size_t kLegacyOnboard = 3; // type 10 lists the first three

StructureBuilder onboardDevices()
{
    StructureBuilder b(10, 4 + 2 * kLegacyOnboard, handle(10));
    for (std::size_t i = 0; i < kLegacyOnboard; ++i)
        b.u8(4 + 2 * i, 0x80 | kOnboard[i].type)
            .string(5 + 2 * i, kOnboard[i].name);
    return b;
}

StructureBuilder onboardDevice(int index)
{
    const OnboardDevice& d = kOnboard.at(static_cast<std::size_t>(index));
    return StructureBuilder(41, 0x0B, handle(41, index))
        .string(4, d.name)
        .u8(5, 0x80 | d.type) // enabled
        .u8(6, d.instance)
        .u16(7, 0)
        .u8(9, d.bus)
        .u8(10, d.devfn);
}

// The system name is the first OEM string, behind its marker "9".
StructureBuilder oemStrings()
{
    return StructureBuilder(11, 5, handle(11))
        .u8(4, 3)
        .string("9QS2200-LAB-07")
        .string("Quorvane Systems QS-2200")
        .string("Build 2026.02.11");
}

// Jumper settings, one string each.
StructureBuilder configurationOptions()
{
    return StructureBuilder(12, 5, handle(12))
        .u8(4, 2)
        .string("JP3 1-2: Normal, 2-3: Clear CMOS")
        .string("JP4 1-2: Normal, 2-3: BIOS Recovery");
}

// One installable language, in the abbreviated form (flags bit 0).
StructureBuilder biosLanguage()
{
    return StructureBuilder(13, 0x16, handle(13))
        .u8(4, 1)
        .u8(5, 0x01)
        .string(21, "enUS");
}

// A processor package: the socket and its three caches.
StructureBuilder packageGroup(int socket)
{
    StructureBuilder b(14, 5 + 3 * 4, handle(14, socket));
    b.string(4, "CPU" + std::to_string(socket) + " Package")
        .u8(5, 4)
        .u16(6, handle(4, socket));
    for (int level = 1; level <= 3; ++level)
        b.u8(5 + 3 * static_cast<std::size_t>(level), 7)
            .u16(6 + 3 * static_cast<std::size_t>(level),
                 cacheHandle(socket, level));
    return b;
}

StructureBuilder memoryArray()
{
    return StructureBuilder(16, 0x17, kMemoryArray)
        .u8(4, 0x03)        // system board
        .u8(5, 0x03)        // system memory
        .u8(6, 0x06)        // multi-bit ECC
        .u32(7, 0x80000000) // see the extended capacity
        .u16(11, kNotProvided)
        .u16(13, kDimms)
        .u64(15, 2048 * kGiB);
}

StructureBuilder memoryDevice(int dimm)
{
    const int socket = dimm / kChannels;
    return StructureBuilder(17, 0x54, handle(17, dimm))
        .u16(4, kMemoryArray)
        .u16(6, kNotProvided)
        .u16(8, 80)
        .u16(10, 64)
        .u16(12, 0x7FFF) // see the extended size
        .u8(14, 0x09)    // DIMM
        .string(16, dimmName(dimm))
        .string(17, "CPU" + std::to_string(socket) + " Channel " +
                        static_cast<char>('A' + dimm % kChannels))
        .u8(18, 0x22)    // DDR5
        .u16(19, 0x2080) // synchronous, registered
        .u16(21, 4800)
        .string(23, "Ostrava Memory")
        .string(24, hex(0x80AD1F30U + static_cast<unsigned>(dimm), 8))
        .string(26, "OM5R32G4400-R1")
        .u8(27, 2) // rank
        .u32(28, kDimmBytes / (kKiB * kKiB))
        .u16(32, 4400)
        .u16(34, 1100)
        .u16(36, 1100)
        .u16(38, 1100)
        .u8(40, 0x03)    // DRAM
        .u16(41, 0x0008) // volatile memory
        .u64(60, kDimmBytes);
}

StructureBuilder arrayMapping()
{
    return StructureBuilder(19, 0x1F, kArrayMapping)
        .u32(4, 0)
        .u32(8, static_cast<std::uint32_t>(kDimms * kDimmBytes / kKiB - 1))
        .u16(12, kMemoryArray)
        .u8(14, kDimms);
}

StructureBuilder deviceMapping(int dimm)
{
    const std::uint64_t start = dimm * kDimmBytes / kKiB;
    return StructureBuilder(20, 0x23, handle(20, dimm))
        .u32(4, static_cast<std::uint32_t>(start))
        .u32(8, static_cast<std::uint32_t>(start + kDimmBytes / kKiB - 1))
        .u16(12, handle(17, dimm))
        .u16(14, kArrayMapping)
        .u8(16, 0xFF); // row position unknown, not interleaved
}

// A watchdog the operating system may arm; on expiry and at the reset limit
// the system stays down. The counters are not kept.
StructureBuilder systemReset()
{
    constexpr std::uint16_t kUnknown = 0xFFFF;
    return StructureBuilder(23, 0x0D, handle(23))
        .u8(4, 0x3F) // enabled, do not reboot (twice), watchdog present
        .u16(5, kUnknown)
        .u16(7, kUnknown)
        .u16(9, kUnknown)
        .u16(11, kUnknown);
}

StructureBuilder hardwareSecurity()
{
    // power-on password disabled, keyboard password not implemented,
    // administrator password enabled, front panel reset not implemented
    return StructureBuilder(24, 5, handle(24)).u8(4, 0x26);
}

// Voltages in mV, temperatures in 1/10 degree Celsius, currents in mA;
// 0x8000 where the firmware does not know.
struct Probe
{
    std::uint8_t type;
    int instance;
    const char* name;
    std::uint8_t location; // processor 3, motherboard 7, power unit 10
    std::uint16_t maximum;
    std::uint16_t minimum;
    std::uint16_t nominal;
};

constexpr std::uint16_t kUnknownValue = 0x8000;
constexpr std::array<Probe, 9> kProbes{{
    {26, 0, "CPU0 VCORE", 3, 1520, 600, 1100},
    {26, 1, "CPU1 VCORE", 3, 1520, 600, 1100},
    {26, 2, "System Board 12V", 7, 12600, 11400, 12000},
    {28, 0, "CPU0 Temp", 3, 1000, 0, kUnknownValue},
    {28, 1, "CPU1 Temp", 3, 1000, 0, kUnknownValue},
    {28, 2, "System Board Inlet Temp", 7, 470, 30, kUnknownValue},
    {28, 3, "System Board Exhaust Temp", 7, 750, 30, kUnknownValue},
    {29, 0, "PSU0 Current", 10, 15000, 0, kUnknownValue},
    {29, 1, "PSU1 Current", 10, 15000, 0, kUnknownValue},
}};
constexpr std::uint16_t kInletProbe = handle(28, 2);
constexpr int kFans = 6;

StructureBuilder probe(const Probe& p)
{
    constexpr std::uint8_t kOk = 3 << 5;
    return StructureBuilder(p.type, 0x16, handle(p.type, p.instance))
        .string(4, p.name)
        .u8(5, kOk | p.location)
        .u16(6, p.maximum)
        .u16(8, p.minimum)
        .u16(10, kUnknownValue) // resolution
        .u16(12, kUnknownValue) // tolerance
        .u16(14, kUnknownValue) // accuracy
        .u16(20, p.nominal);
}

// Fans in one redundancy group, all cooled against the inlet temperature.
StructureBuilder fan(int index)
{
    return StructureBuilder(27, 0x0F, handle(27, index))
        .u16(4, kInletProbe)
        .u8(6, 3 << 5 | 3) // OK, fan
        .u8(7, 1)
        .u16(12, 16800)
        .string(14, "System Board Fan" + std::to_string(index + 1));
}

StructureBuilder bootInformation()
{
    return StructureBuilder(32, 0x0B, handle(32)); // no errors detected
}

// Reset, security, probes, fans and boot status.
void addControlsAndProbes(TableBuilder& t)
{
    t.add(systemReset()).add(hardwareSecurity());
    for (const Probe& p : kProbes)
        t.add(probe(p));
    for (int f = 0; f < kFans; ++f)
        t.add(fan(f));
    t.add(bootInformation());
}

// The log area travels inside the structure, from the access method address
// field on, which is where the library looks for it: a 16-byte type 1 header
// and four records. Record dates are plain decimal bytes.
StructureBuilder eventLog()
{
    const Bytes header{0, 0,    0, 0,    0, 60, 1, 0x78,
                       3, 0x70, 8, 0x7F, 0, 0,  0, 1};
    const Bytes records{
        0x16, 0x88, 26, 1, 15, 9,  30, 0,  // log cleared (read)
        0x17, 0x88, 26, 2, 11, 8,  2,  45, // system boot (read)
        0x01, 0x0B, 26, 2, 11, 14, 7,  3,  0x01, 0x02, 0x11, // ECC, DIMM C0
        0x17, 0x08, 26, 2, 12, 7,  55, 10,                   // system boot
    };
    const Bytes descriptors{0x01, 0x01, 0x02, 0x01, 0x08,
                            0x04, 0x16, 0x00, 0x17, 0x00};
    constexpr std::size_t kBase = 16; // the offsets count from here
    const std::size_t headerAt = 23 + descriptors.size();
    const std::size_t dataAt = headerAt + header.size();
    const std::size_t end = dataAt + records.size();
    return StructureBuilder(15, static_cast<std::uint8_t>(end), handle(15))
        .u16(4, static_cast<std::uint16_t>(end - headerAt))
        .u16(6, static_cast<std::uint16_t>(headerAt - kBase))
        .u16(8, static_cast<std::uint16_t>(dataAt - kBase))
        .u8(10, 0x03) // memory-mapped, 32-bit
        .u8(11, 0x01) // valid, not full
        .u32(12, 4)
        .u32(16, 0x7B2F0000)
        .u8(20, 0x01) // type 1 header
        .u8(21, static_cast<std::uint8_t>(descriptors.size() / 2))
        .u8(22, 2)
        .bytes(23, descriptors)
        .bytes(headerAt, header)
        .bytes(dataAt, records);
}

// Two temperature sensors on the SM bus, each a component tied to its
// probe and to thresholds in tenths of a degree Celsius (0x8000: none).
struct Sensor
{
    const char* name;
    std::uint8_t address;
    std::uint16_t upperNonCritical;
    std::uint16_t upperCritical;
    std::uint16_t upperNonRecoverable;
};

constexpr std::array<Sensor, 2> kSensors{{
    {"Inlet Temperature Sensor", 0x48, 420, 470, 500},
    {"Exhaust Temperature Sensor", 0x49, 700, 800, 850},
}};
constexpr std::uint16_t kNoThreshold = 0x8000;

void addManagementDevices(TableBuilder& t)
{
    for (std::size_t i = 0; i < kSensors.size(); ++i)
    {
        const Sensor& s = kSensors[i];
        const int n = static_cast<int>(i);
        t.add(StructureBuilder(34, 0x0B, handle(34, n))
                  .string(4, s.name)
                  .u8(5, 0x03) // LM75
                  .u32(6, s.address)
                  .u8(10, 0x05)); // SM bus
        t.add(StructureBuilder(35, 0x0B, handle(35, n))
                  .string(4, s.name)
                  .u16(5, handle(34, n))
                  .u16(7, handle(28, n)) // its temperature probe
                  .u16(9, handle(36, n)));
        t.add(StructureBuilder(36, 0x10, handle(36, n))
                  .u16(4, kNoThreshold)
                  .u16(6, s.upperNonCritical)
                  .u16(8, kNoThreshold)
                  .u16(10, s.upperCritical)
                  .u16(12, kNoThreshold)
                  .u16(14, s.upperNonRecoverable));
    }
}

// The BMC's KCS interface in I/O space (bit 0 of the address set).
StructureBuilder ipmiDevice()
{
    return StructureBuilder(38, 0x12, handle(38))
        .u8(4, 0x01) // KCS
        .u8(5, 0x20) // IPMI 2.0
        .u8(6, 0x20)
        .u8(7, 0xFF) // no NV storage device
        .u64(8, 0x0CA3)
        .u8(16, 0x00) // byte-spaced registers
        .u8(17, 0x00);
}

StructureBuilder powerSupply(int index)
{
    // hot-replaceable, present, auto-switch, OK, switching
    constexpr std::uint16_t characteristics =
        1 | 1 << 1 | 4 << 3 | 3 << 7 | 4 << 10;
    const auto n = static_cast<unsigned>(index);
    return StructureBuilder(39, 0x16, handle(39, index))
        .u8(4, 1)
        .string(5, "PSU" + std::to_string(n))
        .string(6, "Power Supply 1600 W")
        .string(7, "Quorvane Power")
        .string(8, "QP24B0077" + std::to_string(n))
        .string(10, "QP-1600T")
        .string(11, "02.01.07")
        .u16(12, 1600)
        .u16(14, characteristics)
        .u16(16, kNoProbe)
        .u16(18, kNoProbe)
        .u16(20, kNoProbe);
}

// Two entries of extra information about fields of other structures: the
// board's rework level for the system's version, and the build number for
// the BIOS version.
StructureBuilder additionalInformation()
{
    return StructureBuilder(40, 5 + 7 + 6, handle(40))
        .u8(4, 2)
        .u8(5, 7)
        .u16(6, handle(1))
        .u8(8, 6)
        .string(9, "Board rework")
        .bytes(10, {0x03, 0x02})
        .u8(12, 6)
        .u16(13, handle(0))
        .u8(15, 5)
        .string(16, "BIOS build")
        .u8(17, 0x2B);
}

// The BMC reached over a USB network device, with one protocol record
// whose data is left empty.
StructureBuilder hostInterface()
{
    return StructureBuilder(42, 0x0E, handle(42))
        .u8(4, 0x40) // network host interface
        .u8(5, 5)
        .bytes(6, {0x02, 0x6B, 0x1D, 0x04, 0x01}) // USB, vendor, product
        .u8(11, 1)
        .bytes(12, {0x04, 0x00}); // Redfish over IP
}

StructureBuilder tpm()
{
    return StructureBuilder(43, 0x1F, handle(43))
        .bytes(4, {'C', 'V', 'L', 'N'})
        .u8(8, 2)
        .u8(9, 0)
        .u32(10, 0x0007003F)
        .u32(14, 0x00010002)
        .string(18, "TPM 2.0 module")
        .u64(19, 1U << 4); // configurable by platform software
}

// Each entry names a structure by handle: byte 0 is the number of the
// string holding its descriptor, byte 3 the structure's type.
struct Mapped
{
    std::uint16_t handle;
    std::string descriptor;
};

StructureBuilder fqddMap(int index, const std::vector<Mapped>& entries)
{
    StructureBuilder b(225, static_cast<std::uint8_t>(5 + 4 * entries.size()),
                       handle(225, index));
    b.u8(4, 1);
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        const std::size_t at = 5 + 4 * i;
        b.string(at, entries[i].descriptor)
            .u16(at + 1, entries[i].handle)
            .u8(at + 3, static_cast<std::uint8_t>(entries[i].handle >> 8));
    }
    return b;
}

std::vector<Mapped> boardEntries()
{
    std::vector<Mapped> entries;
    for (int s = 0; s < kSockets; ++s)
        entries.push_back(
            {handle(4, s), "Board.Processor." + std::to_string(s)});
    for (int d = 0; d < kDimms; ++d)
        entries.push_back(
            {handle(17, d), "Board.Memory." + dimmName(d).substr(5)});
    return entries;
}

std::vector<Mapped> bayEntries()
{
    std::vector<Mapped> entries;
    for (int p = 0; p < 2; ++p)
        entries.push_back(
            {handle(39, p), "Bay.PowerSupply." + std::to_string(p)});
    for (std::size_t s = 0; s < kSlots.size(); ++s)
        entries.push_back({handle(9, static_cast<int>(s)),
                           "Board.Slot." + std::to_string(s + 1)});
    const char* kinds[] = {"Video", "Nic", "Nic", "Sata"};
    for (std::size_t d = 0; d < kOnboard.size(); ++d)
        entries.push_back({handle(41, static_cast<int>(d)),
                           std::string("Board.") + kinds[d] + "." +
                               std::to_string(kOnboard[d].instance)});
    entries.push_back({handle(43), "Board.Tpm.1"});
    return entries;
}

StructureBuilder memoryExtension(int dimm)
{
    return StructureBuilder(226, 13, handle(226, dimm))
        .u16(4, handle(17, dimm))
        .string(6, "2.1")
        .u32(7, 0x00C00000U | static_cast<std::uint32_t>(dimm))
        .u16(11, 0x4432);
}

void addLegacyMemoryAndPorts(TableBuilder& t)
{
    t.add(memoryController());
    for (int m = 0; m < kLegacyModules; ++m)
        t.add(memoryModule(m));
    for (std::size_t i = 0; i < kPorts.size(); ++i)
        t.add(port(static_cast<int>(i)));
}

void addOptionsLanguageAndGroups(TableBuilder& t)
{
    t.add(configurationOptions()).add(biosLanguage());
    for (int s = 0; s < kSockets; ++s)
        t.add(packageGroup(s));
}

} // namespace

TableBuilder sampleStructures()
{
    TableBuilder t;
    t.add(bios()).add(system()).add(baseboard()).add(chassis());
    for (int s = 0; s < kSockets; ++s)
    {
        for (int level = 1; level <= 3; ++level)
            t.add(cache(s, level));
        t.add(processor(s));
    }
    addLegacyMemoryAndPorts(t);
    for (std::size_t i = 0; i < kSlots.size(); ++i)
        t.add(slot(static_cast<int>(i)));
    t.add(onboardDevices()).add(oemStrings());
    addOptionsLanguageAndGroups(t);
    t.add(eventLog());
    t.add(memoryArray());
    for (int d = 0; d < kDimms; ++d)
        t.add(memoryDevice(d));
    t.add(arrayMapping());
    for (int d = 0; d < kDimms; ++d)
        t.add(deviceMapping(d));
    addControlsAndProbes(t);
    addManagementDevices(t);
    t.add(ipmiDevice());
    t.add(powerSupply(0)).add(powerSupply(1));
    t.add(additionalInformation());
    for (std::size_t i = 0; i < kOnboard.size(); ++i)
        t.add(onboardDevice(static_cast<int>(i)));
    t.add(hostInterface());
    t.add(tpm());
    t.add(fqddMap(0, boardEntries())).add(fqddMap(1, bayEntries()));
    for (int d = 0; d < kDimms; ++d)
        t.add(memoryExtension(d));
    return t;
}

TableBuilder sampleTable()
{
    return sampleStructures().add(StructureBuilder(127, 4, handle(127)));
}

} // namespace tablegen
