// The inventory walk over a large generated inventory on a private bus:
// one GetSubTree, then one GetAll per object and interface.
#include "qvmclient.h"
#include "standin_process.hpp"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{

constexpr int kServices = 10;
constexpr int kObjectsPerService = 100;
constexpr int kInterfacesPerObject = 3;

json_object* typed(const char* type, json_object* value)
{
    json_object* property = json_object_new_object();
    json_object_object_add(property, "type", json_object_new_string(type));
    json_object_object_add(property, "value", value);
    return property;
}

// A few properties of the usual kinds, varied by number.
json_object* properties(int n)
{
    json_object* list = json_object_new_array();
    json_object_array_add(list, json_object_new_string("first"));
    json_object_array_add(list, json_object_new_string("second"));
    json_object* out = json_object_new_object();
    json_object_object_add(out, "Present",
                           typed("b", json_object_new_boolean(n % 2)));
    json_object_object_add(out, "Count", typed("u", json_object_new_int64(n)));
    json_object_object_add(out, "Reading",
                           typed("d", json_object_new_double(n * 0.25)));
    json_object_object_add(
        out, "Serial",
        typed("s", json_object_new_string(("SN" + std::to_string(n)).c_str())));
    json_object_object_add(out, "Tags", typed("as", list));
    return out;
}

qvm::JsonPtr generatedInventory()
{
    json_object* services = json_object_new_object();
    int n = 0;
    for (int s = 0; s < kServices; ++s)
    {
        json_object* paths = json_object_new_object();
        for (int o = 0; o < kObjectsPerService; ++o)
        {
            json_object* interfaces = json_object_new_object();
            for (int i = 0; i < kInterfacesPerObject; ++i)
            {
                const std::string name =
                    "net.qvmbench.Item" + std::to_string(i);
                json_object_object_add(interfaces, name.c_str(),
                                       properties(n++));
            }
            const std::string path = "/xyz/openbmc_project/inventory/bench" +
                                     std::to_string(s) + "/item" +
                                     std::to_string(o);
            json_object_object_add(paths, path.c_str(), interfaces);
        }
        const std::string service = "net.qvmbench.Service" + std::to_string(s);
        json_object_object_add(services, service.c_str(), paths);
    }
    qvm::JsonPtr fixture(json_object_new_object());
    json_object_object_add(fixture.get(), "inventory", services);
    return fixture;
}

// The generated fixture in a temporary file, removed at the end.
class FixtureFile
{
  public:
    FixtureFile()
    {
        char name[] = "/tmp/qvm-bench-inventory-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0)
            return;
        close(fd);
        path_ = name;
        const qvm::JsonPtr fixture = generatedInventory();
        json_object_to_file(path_.c_str(), fixture.get());
    }
    ~FixtureFile()
    {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

void BM_InventoryWalk(benchmark::State& state)
{
    const FixtureFile fixture;
    qvmtest::StandinProcess standin;
    if (fixture.path().empty() ||
        !standin.start(QVM_STANDIN_PATH, fixture.path()))
    {
        state.SkipWithError("the stand-in did not start");
        return;
    }
    const qvm::BusPtr bus = standin.connect();
    if (!bus)
    {
        state.SkipWithError("cannot connect to the private bus");
        return;
    }
    std::size_t triples = 0;
    for (auto _ : state)
    {
        json_object* out = nullptr;
        if (retrieveSystemObjectProperties(bus.get(), &out) != 0)
            state.SkipWithError("the walk failed");
        triples = json_object_array_length(out);
        json_object_put(out);
    }
    // One GetSubTree and one GetAll per triple, each a blocking call.
    const double calls = static_cast<double>(triples + 1);
    state.counters["triples"] = static_cast<double>(triples);
    state.counters["calls/s"] =
        benchmark::Counter(calls * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InventoryWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
