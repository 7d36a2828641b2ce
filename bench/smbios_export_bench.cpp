// The JSON export of the two bench tables (about 600 and 5,000 structures,
// the tables bench/side_by_side.sh times whole processes on), with the
// library's debug lines masked as a daemon masks them. Besides the time per
// structure it counts heap allocations per structure and the peak of heap
// held during one export, above what was held before it.
#include "bench_table.hpp"
#include "qvmclient.h"
#include "support/loaded_table.hpp"

#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <cstdlib>
#include <malloc.h>
#include <syslog.h>

// Every allocation of the process goes through these: the C library's own
// functions underneath, a count and the bytes held on top.
extern "C"
{
    void* __libc_malloc(std::size_t size);
    void* __libc_calloc(std::size_t count, std::size_t size);
    void* __libc_realloc(void* block, std::size_t size);
    void __libc_free(void* block);
}

namespace
{

std::atomic<std::uint64_t> allocations{0};
std::atomic<std::int64_t> held{0};
std::atomic<std::int64_t> peak{0};

void* counted(void* block)
{
    if (block != nullptr)
    {
        ++allocations;
        const std::int64_t now = held +=
            static_cast<std::int64_t>(malloc_usable_size(block));
        std::int64_t before = peak.load();
        while (now > before && !peak.compare_exchange_weak(before, now))
        {
        }
    }
    return block;
}

void released(void* block)
{
    if (block != nullptr)
        held -= static_cast<std::int64_t>(malloc_usable_size(block));
}

} // namespace

extern "C"
{
    void* malloc(std::size_t size)
    {
        return counted(__libc_malloc(size));
    }
    void* calloc(std::size_t count, std::size_t size)
    {
        return counted(__libc_calloc(count, size));
    }
    void* realloc(void* block, std::size_t size)
    {
        released(block);
        return counted(__libc_realloc(block, size));
    }
    void free(void* block)
    {
        released(block);
        __libc_free(block);
    }
}

namespace
{

void exportTable(benchmark::State& state)
{
    const tablegen::Bytes bytes = qvmbench::benchTable(state.range(0));
    const qvmtest::TempFile file(bytes);
    if (SmbiosInit(file.path().c_str()) != QVM_RC_SUCCESS)
    {
        state.SkipWithError("table did not load");
        return;
    }
    std::int64_t structures = 0;
    for (std::size_t offset = 0; offset + 1 < bytes.size(); ++structures)
    {
        // Header, formatted area, then the strings up to the double NUL.
        std::size_t at = offset + bytes[offset + 1];
        while (at + 1 < bytes.size() && (bytes[at] != 0 || bytes[at + 1] != 0))
            ++at;
        offset = at + 2;
    }
    const int mask = setlogmask(LOG_UPTO(LOG_INFO));
    std::uint64_t counted = 0;
    std::int64_t peakAbove = 0;
    for (auto _ : state)
    {
        const std::uint64_t before = allocations.load();
        const std::int64_t base = held.load();
        peak.store(base);
        benchmark::DoNotOptimize(SmBiosDataToJSON("/dev/null"));
        counted += allocations.load() - before;
        peakAbove = std::max(peakAbove, peak.load() - base);
    }
    setlogmask(mask);
    SmbiosCleanup();
    const auto perStructure = [&](double total)
    {
        return total / static_cast<double>(state.iterations()) /
               static_cast<double>(structures);
    };
    state.SetItemsProcessed(state.iterations() * structures);
    state.counters["structures"] = static_cast<double>(structures);
    state.counters["per_structure"] =
        benchmark::Counter(static_cast<double>(structures),
                           benchmark::Counter::kIsIterationInvariantRate |
                               benchmark::Counter::kInvert);
    state.counters["allocs_per_structure"] =
        perStructure(static_cast<double>(counted));
    state.counters["peak_heap_KiB"] = static_cast<double>(peakAbove) / 1024.0;
    state.counters["table_KiB"] = static_cast<double>(bytes.size()) / 1024.0;
}

} // namespace

BENCHMARK(exportTable)->Arg(600)->Arg(5000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
