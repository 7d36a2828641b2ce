// The JSON export of a large synthetic table: thousands of structures of
// the decoded types and of types dumped whole, built with the table builder.
#include "qvmclient.h"
#include "support/loaded_table.hpp"

#include <benchmark/benchmark.h>

namespace
{

using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

// One server's worth of structures per round: BIOS information once, then
// systems, boards, chassis, memory devices (dumped) and event logs.
qvmtest::Bytes syntheticTable(int rounds)
{
    TableBuilder table;
    table.add(StructureBuilder(0, 0x1A, 0)
                  .string(4, "Quorvane")
                  .string(5, "3.4.0")
                  .string(8, "01/01/2026")
                  .u64(10, 0x0B0B9880)
                  .u8(18, 0x03)
                  .u8(19, 0x0D)
                  .u8(20, 3)
                  .u8(21, 4));
    std::uint16_t handle = 1;
    for (int r = 0; r < rounds; ++r)
    {
        table.add(StructureBuilder(1, 0x1B, handle++)
                      .string(4, "Quorvane")
                      .string(5, "QV-9000")
                      .string(7, "SN" + std::to_string(r))
                      .u8(24, 6)
                      .string(25, "SKU")
                      .string(26, "Rack"));
        table.add(StructureBuilder(2, 0x0F, handle++)
                      .string(4, "Quorvane")
                      .string(5, "Board")
                      .u8(9, 0x09)
                      .u8(13, 0x0A));
        table.add(StructureBuilder(3, 0x16, handle++)
                      .string(4, "Quorvane")
                      .u8(5, 0x17)
                      .u8(9, 3)
                      .u8(10, 3)
                      .u8(11, 3)
                      .u8(12, 3));
        table.add(StructureBuilder(17, 0x54, handle++)
                      .u16(12, 0x4000)
                      .string(16, "DIMM A" + std::to_string(r))
                      .string(23, "Maker"));
        table.add(
            StructureBuilder(15, 0x17, handle++).u16(4, 0x1000).u8(10, 3));
    }
    table.add(StructureBuilder(127, 4, 0xFEFF));
    return table.build();
}

void exportTable(benchmark::State& state)
{
    const int rounds = static_cast<int>(state.range(0));
    const qvmtest::TempFile file(syntheticTable(rounds));
    if (SmbiosInit(file.path().c_str()) != QVM_RC_SUCCESS)
    {
        state.SkipWithError("table did not load");
        return;
    }
    const int64_t structures = 2 + 5 * static_cast<int64_t>(rounds);
    for (auto _ : state)
        benchmark::DoNotOptimize(SmBiosDataToJSON("/dev/null"));
    SmbiosCleanup();
    state.SetItemsProcessed(state.iterations() * structures);
    state.counters["structures"] = static_cast<double>(structures);
    state.counters["per_structure"] =
        benchmark::Counter(static_cast<double>(structures),
                           benchmark::Counter::kIsIterationInvariantRate |
                               benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(exportTable)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
