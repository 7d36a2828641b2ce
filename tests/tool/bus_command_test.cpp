// qvm's bus commands against the stand-in on a private bus, named with
// --bus as a user would.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "support/standin_bus.hpp"
#include "support/standin_process.hpp"
#include "tablegen/sample_table.hpp"

#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

using qvmtest::tool::Background;
using qvmtest::tool::Result;
using qvmtest::tool::words;
using testing::HasSubstr;
namespace control = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_FIXTURE);

constexpr char kManagerPath[] = "/xyz/openbmc_project/QuorvaneManager1";
constexpr char kManagerInterface[] = "xyz.openbmc_project.QuorvaneManager1.QV0";

std::vector<std::string> onBus(const std::string& address,
                               std::vector<std::string> args)
{
    args.insert(args.begin(), {"--bus", address});
    return args;
}

// The next change that watch prints; signals are emitted until one comes
// through, since the watcher subscribes some time after it starts.
std::optional<std::string> nextChange(Background& watch,
                                      const std::string& changed)
{
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        control::emit(kManagerPath, kManagerInterface, changed);
        if (auto line = watch.readLine(std::chrono::milliseconds(100)))
            return line;
    }
    return std::nullopt;
}

using ToolOnBus = qvmtest::StandinTest;

} // namespace

TEST_F(ToolOnBus, WatchPrintsEachChangeAsOneJsonLine)
{
    Background watch(onBus(bus->address(), {"manager", "watch"}));
    const auto first =
        nextChange(watch, R"({"State": {"type": "s", "value": "Busy"}})");
    ASSERT_TRUE(first) << watch.err();
    EXPECT_EQ(*first,
              R"({"path":"/xyz/openbmc_project/QuorvaneManager1",)"
              R"("interface":"xyz.openbmc_project.QuorvaneManager1.QV0",)"
              R"("changed":{"State":"Busy"},"invalidated":[]})");
    control::emit(kManagerPath, kManagerInterface,
                  R"({"Progress": {"type": "y", "value": 40}})");
    std::optional<std::string> second;
    while ((second = watch.readLine(std::chrono::seconds(5))) &&
           second->find("Progress") == std::string::npos)
        ; // repeats of the first change, sent while waiting for it
    ASSERT_TRUE(second);
    EXPECT_THAT(*second, HasSubstr(R"("changed":{"Progress":40})"));
    EXPECT_EQ(watch.stop(SIGINT), 128 + SIGINT);
}

TEST(ToolWithoutBus, WatchFailsWhenTheBusGoesAway)
{
    qvmtest::StandinProcess own;
    ASSERT_TRUE(own.start(qvmtest::standinProgram()));
    Background watch(onBus(own.address(), {"manager", "watch"}));
    // Once it is watching, the bus is taken away from under it.
    for (int i = 0; i < 100 && watch.err().empty(); ++i)
        usleep(20000);
    own.stop();
    EXPECT_EQ(watch.stop(0), 1);
    EXPECT_THAT(watch.err(),
                HasSubstr("qvm: manager watch: Operation failed (-1)\n"));
}

namespace
{

Result onOwn(const qvmtest::StandinProcess& own, const std::string& line)
{
    return qvmtest::tool::runQvm(onBus(own.address(), words(line)));
}

} // namespace

// Where the inventory daemon answers, it chooses the table; its export
// through the bus is the export of the file it names.
TEST(ToolOnOwnBus, TheInventoryDaemonNamesTheTableByDefault)
{
    const qvmtest::TempFile table(
        tablegen::sampleTable()
            .add(tablegen::StructureBuilder(200, 5, 0xC800).u8(4, 7))
            .build());
    qvmtest::StandinProcess named;
    ASSERT_TRUE(named.start(qvmtest::standinProgram(), {},
                            {"--smbios-table", table.path()}));
    const std::string info = onOwn(named, "smbios info").out;
    EXPECT_EQ(info.substr(0, info.find('\n')),
              "source:       the inventory daemon on the bus at " +
                  named.address() + ", which names " + table.path());
    const Result byBus = onOwn(named, "smbios export --from-bus");
    ASSERT_EQ(byBus.status, 0) << byBus.err;
    EXPECT_EQ(byBus, qvmtest::tool::runQvm(
                         {"smbios", "export", "--table", table.path()}));
    EXPECT_THAT(byBus.out, HasSubstr("\"Table Type\": 200"));
}

// Without the daemon on the bus, asking for its table says so.
TEST(ToolOnOwnBus, NoDaemonIsSaid)
{
    const std::string noDaemon = R"({"inventory": {}})";
    const qvmtest::TempFile fixture({noDaemon.begin(), noDaemon.end()});
    qvmtest::StandinProcess empty;
    ASSERT_TRUE(empty.start(qvmtest::standinProgram(), fixture.path()));
    EXPECT_EQ(onOwn(empty, "smbios service-tag --from-bus"),
              (Result{1, "",
                      "qvm: smbios service-tag: no inventory daemon "
                      "(xyz.openbmc_project.invd) on the bus at " +
                          empty.address() + "\n"}));
    // A bus named on the command line is not exchanged for a local table.
    EXPECT_THAT(onOwn(empty, "smbios service-tag").err,
                HasSubstr("no inventory daemon"));
}
