// The large tables that exports are timed on: the sample server, the
// decoded types it lacks, then the processors, caches and memory of a large
// virtual machine, one virtual socket at a time.
#include "bench_table.hpp"

#include "tablegen/sample_table.hpp"

#include <string>

namespace qvmbench
{
namespace
{

using tablegen::StructureBuilder;
using tablegen::TableBuilder;

// The sample's handles use the high bytes 0x00 to 0x2B, 0x7F and 0xE1 to
// 0xE2; the machine's own are numbered from here on.
constexpr unsigned kFirstHandle = 0x3000;
// Processor, three caches, memory device and its mapped address.
constexpr int kPerSocket = 6;
constexpr std::uint32_t kDimmKiB = 16U * 1024 * 1024;

class VirtualMachine
{
  public:
    explicit VirtualMachine(TableBuilder& table) : table_(table)
    {
        table_.add(StructureBuilder(16, 0x17, array_)
                       .u8(4, 0x03) // system board
                       .u8(5, 0x03) // system memory
                       .u8(6, 0x03) // no error correction
                       .u32(7, 0x80000000)
                       .u16(11, 0xFFFE)
                       .u16(13, 0xFFFF));
        table_.add(StructureBuilder(19, 0x1F, mapping_)
                       .u32(4, 0)
                       .u32(8, 0xFFFFFFFF)
                       .u16(12, array_)
                       .u8(14, 1));
    }

    void addSocket(int socket)
    {
        std::uint16_t caches[3];
        for (int level = 1; level <= 3; ++level)
            caches[level - 1] = addCache(level);
        addProcessor(socket, caches);
        const std::uint16_t dimm = addMemory(socket);
        table_.add(
            StructureBuilder(20, 0x23, next())
                .u32(4, static_cast<std::uint32_t>(socket) * kDimmKiB)
                .u32(8, (static_cast<std::uint32_t>(socket) + 1) * kDimmKiB - 1)
                .u16(12, dimm)
                .u16(14, mapping_)
                .u8(16, 0xFF));
    }

    // The decoded types that the sample server has no use for, once each:
    // memory errors, a pointing device and a battery (the console's),
    // scheduled power-on, remote access, boot integrity, a memory channel.
    void addRestOfTheDecodedTypes()
    {
        for (const std::uint8_t type : {18, 33})
            table_.add(StructureBuilder(type, type == 18 ? 0x17 : 0x1F, next())
                           .u8(4, 0x03)   // OK
                           .u8(5, 0x02)   // unknown granularity
                           .u8(6, 0x02)); // unknown operation
        table_.add(StructureBuilder(21, 0x07, next())
                       .u8(4, 0x05) // touch pad
                       .u8(5, 0x07) // PS/2
                       .u8(6, 2));
        table_.add(StructureBuilder(22, 0x1A, next())
                       .string(4, "Console")
                       .string(5, "Virtual Silicon")
                       .string(8, "VB-1")
                       .u8(9, 0x02)
                       .u16(10, 4800)
                       .u16(12, 7400)
                       .u8(21, 1));
        table_.add(StructureBuilder(25, 0x09, next()).u8(4, 0x01).u8(5, 0x15));
        table_.add(StructureBuilder(30, 0x06, next())
                       .string(4, "Virtual Silicon")
                       .u8(5, 0x03)); // inbound and outbound enabled
        table_.add(StructureBuilder(31, 0x1C, next()));
        table_.add(StructureBuilder(37, 0x0A, next())
                       .u8(4, 0x03) // RamBus
                       .u8(5, 4)
                       .u8(6, 1)
                       .u8(7, 4)
                       .u16(8, array_));
    }

  private:
    std::uint16_t next() { return static_cast<std::uint16_t>(handle_++); }

    // Write-back unified caches of 64 KiB, 1 MiB and 32 MiB.
    std::uint16_t addCache(int level)
    {
        const std::uint16_t kib[] = {64, 1024, 0x8000 | 512};
        const std::uint16_t size = kib[level - 1];
        const std::uint16_t h = next();
        table_.add(
            StructureBuilder(7, 0x1B, h)
                .string(4, std::string{'L', static_cast<char>('0' + level)} +
                               "-Cache")
                .u16(5, static_cast<std::uint16_t>(0x0180 | (level - 1)))
                .u16(7, size)
                .u16(9, size)
                .u16(11, 0x0002) // unknown
                .u16(13, 0x0002)
                .u8(16, 0x02) // other
                .u8(17, 0x05) // unified
                .u8(18, 0x02) // other
                .u32(19, size)
                .u32(23, size));
        return h;
    }

    void addProcessor(int socket, const std::uint16_t (&caches)[3])
    {
        table_.add(StructureBuilder(4, 0x30, next())
                       .string(4, "vCPU " + std::to_string(socket))
                       .u8(5, 0x03) // central processor
                       .u8(6, 0xFE) // see the second family field
                       .string(7, "Virtual Silicon")
                       .u64(8, 0x178BFBFF00A00F11ULL)
                       .string(16, "Virtual CPU @ 2.9 GHz")
                       .u8(17, 0x80) // voltage unknown
                       .u16(20, 2900)
                       .u16(22, 2900)
                       .u8(24, 0x41) // populated, enabled
                       .u8(25, 0x01) // other
                       .u16(26, caches[0])
                       .u16(28, caches[1])
                       .u16(30, caches[2])
                       .u8(35, 1)
                       .u8(36, 1)
                       .u8(37, 1)
                       .u16(38, 0x0004) // 64-bit
                       .u16(40, 0x0107)
                       .u16(42, 1)
                       .u16(44, 1)
                       .u16(46, 1));
    }

    std::uint16_t addMemory(int socket)
    {
        const std::uint16_t h = next();
        table_.add(StructureBuilder(17, 0x28, h)
                       .u16(4, array_)
                       .u16(6, 0xFFFE)
                       .u16(8, 0xFFFF)
                       .u16(10, 0xFFFF)
                       .u16(12, 16384) // 16 GiB, in MiB
                       .u8(14, 0x09)   // DIMM
                       .string(16, "DIMM " + std::to_string(socket))
                       .u8(18, 0x07) // RAM
                       .u16(19, 0x0002)
                       .string(23, "Virtual Silicon")
                       .u32(28, 0));
        return h;
    }

    TableBuilder& table_;
    unsigned handle_ = kFirstHandle;
    const std::uint16_t array_ = next();
    const std::uint16_t mapping_ = next();
};

} // namespace

tablegen::Bytes benchTable(long structures)
{
    TableBuilder table = tablegen::sampleStructures();
    VirtualMachine vm(table);
    vm.addRestOfTheDecodedTypes();
    for (int socket = 0;
         static_cast<long>(table.count()) + kPerSocket < structures; ++socket)
        vm.addSocket(socket);
    table.add(StructureBuilder(127, 4, 0xFEFF));
    return table.build();
}

} // namespace qvmbench
