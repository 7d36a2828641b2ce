// qvm's bus commands against the stand-in on a private bus, named with
// --bus as a user would.
#include "common/handles.hpp"
#include "connect.hpp"
#include "qvmclient.h"
#include "run_tool.hpp"
#include "support/standin_bus.hpp"
#include "support/standin_process.hpp"

#include <csignal>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <unistd.h>

using qvmtest::tool::Background;
using qvmtest::tool::Result;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
namespace control = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_FIXTURE);

constexpr char kManagerPath[] = "/xyz/openbmc_project/QuorvaneManager1";
constexpr char kManagerInterface[] = "xyz.openbmc_project.QuorvaneManager1.QV0";
constexpr char kNoBus[] = "unix:path=/nonexistent/bus";

std::vector<std::string> onBus(const std::string& address,
                               std::vector<std::string> args)
{
    args.insert(args.begin(), {"--bus", address});
    return args;
}

Result onStandin(std::vector<std::string> args)
{
    return qvmtest::tool::runQvm(onBus(bus->address(), std::move(args)));
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

TEST_F(ToolOnBus, ManagerRequestsSendTheirOptionsAndPrintTheStatus)
{
    EXPECT_EQ(onStandin({"manager", "version"}).out, "1.0.0-standin\n");

    const Result package = onStandin({"manager", "package", "--ticket", "T1",
                                      "--number1", "1", "--number2", "0xFFFF"});
    EXPECT_EQ(package.status, 0) << package.err;
    EXPECT_EQ(package.out, "status 0\n");

    EXPECT_EQ(onStandin({"manager", "save", "--ticket", "T", "--text", "hello",
                         "--value", "5", "--value1", "1", "--value2", "2",
                         "--value3", "3", "--text1", "a", "--text2", "b"})
                  .status,
              0);

    EXPECT_EQ(onStandin({"manager", "export", "--ticket", "T", "--kind", "2",
                         "--text6", "f", "--number", "9"})
                  .out,
              "status 0\n");
    EXPECT_THAT(control::calls("Package"), ElementsAre(R"(["T1",1,65535])"));
    EXPECT_THAT(control::calls("Save"),
                ElementsAre(R"(["T","hello",5,[1,2,3,"a","b"]])"));
    EXPECT_THAT(control::calls("Export"),
                ElementsAre(R"(["T",[2,"","","","","","f"],9])"));
}

TEST_F(ToolOnBus, AStatusOtherThanSuccessIsPrintedAndFails)
{
    control::script("Package", R"({"reply": [7]})");
    const Result r = onStandin({"manager", "package"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "status 7\n");
    EXPECT_EQ(r.err, "qvm: manager package: Background start failure (7)\n");
}

TEST_F(ToolOnBus, CollectPrintsWhatTheManagerHandsBack)
{
    control::script("Collect", R"({"reply": [0, 42, "collected"]})");
    const Result r =
        onStandin({"manager", "collect", "--ticket", "T", "--kind", "16",
                   "--text1", "a", "--number1", "1", "--number2", "2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "status 0\nvalue 42\ntext collected\n");
    EXPECT_THAT(control::calls("Collect"),
                ElementsAre(R"(["T",[16,"a","","","","",""],1,2])"));
}

TEST_F(ToolOnBus, TicketPrintsTheReplyAndItsList)
{
    control::script("Ticket", R"({"reply": [
        [1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "x", "y", "z"], ["a", "b", "c"]]})");
    const Result r =
        onStandin({"manager", "ticket", "--op", "1", "--sub", "3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "value1 1\nvalue2 2\nvalue3 3\nvalue4 4\n"
                     "bytes 5 6 7 8 9 10\ntext1 x\ntext2 y\ntext3 z\n"
                     "list c\nlist b\nlist a\n");
    EXPECT_THAT(control::calls("Ticket"),
                ElementsAre(R"([[1,1850305396,1,3,0,0,0,0,"","",""]])"));

    // The library refuses an unknown operation before anything is sent.
    const Result refused = onStandin({"manager", "ticket", "--op", "9"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "qvm: manager ticket: Invalid request (3)\n");
    EXPECT_EQ(control::calls("Ticket").size(), 1U);
}

TEST_F(ToolOnBus, EventAddSendsItsArgumentsAsTheMessageArray)
{
    const Result r = onStandin({"event", "add", "Msg.1", "a", "--", "--b"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "result 1\n");
    EXPECT_EQ(onStandin({"event", "add", "Msg.2"}).status, 0);
    std::vector<std::string> many{"event", "add", "Msg.3"};
    many.resize(many.size() + 17, "x");
    EXPECT_EQ(onStandin(many).status, 2);
    EXPECT_THAT(control::calls("AddEventLog"),
                ElementsAre(R"([4,"OBX.Embedded.1-1","Msg.1",["a","--b"]])",
                            R"([4,"OBX.Embedded.1-1","Msg.2",[]])"));
}

// The tool prints the library's own walk, as a caller of the library would
// get it.
TEST_F(ToolOnBus, InventoryPrintsTheWholeWalk)
{
    const qvm::BusPtr connection = standin::connectBus(bus->address());
    ASSERT_TRUE(connection);
    json_object* doc = nullptr;
    ASSERT_EQ(retrieveSystemObjectProperties(connection.get(), &doc), 0);
    char* text = nullptr;
    ASSERT_EQ(makeJSONstringFromDoc(doc, &text), 0);
    const std::string expected = text;
    std::free(text);
    json_object_put(doc);
    ASSERT_THAT(expected, HasSubstr("QS22C0417"));

    const Result printed = onStandin({"inventory"});
    EXPECT_EQ(printed.status, 0) << printed.err;
    EXPECT_EQ(printed.out, expected + "\n");

    const Result one =
        onStandin({"inventory", "get", "xyz.openbmc_project.invd",
                   "/xyz/openbmc_project/invd/oem",
                   "xyz.openbmc_project.Inventory.Item.Oem"});
    EXPECT_EQ(one.status, 0) << one.err;
    EXPECT_THAT(one.out, HasSubstr(R"("FullSMBIOSTablePath": )"));

    const Result absent =
        onStandin({"inventory", "get", "net.example.Nothing"});
    EXPECT_EQ(absent.status, 1);
    EXPECT_EQ(absent.err, "qvm: inventory get: Operation failed (-1)\n");
}

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

TEST(ToolWithoutBus, EveryBusCommandFailsWithTheLibrarysStatus)
{
    const std::vector<std::vector<std::string>> commands{
        {"manager", "version"},
        {"manager", "package"},
        {"manager", "save"},
        {"manager", "collect"},
        {"manager", "export"},
        {"manager", "ticket", "--op", "1", "--sub", "1"},
        {"manager", "watch"},
        {"event", "add", "Msg"},
        {"inventory"},
        {"inventory", "get", "a.b"},
    };
    for (const auto& command : commands)
    {
        const Result r = qvmtest::tool::runQvm(onBus(kNoBus, command));
        EXPECT_EQ(r.status, 1) << command[1];
        EXPECT_THAT(r.err, HasSubstr("Operation failed (-1)\n")) << command[1];
    }
}
