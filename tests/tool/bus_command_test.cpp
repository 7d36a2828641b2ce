// qvm's bus commands against the stand-in on a private bus, named with
// --bus as a user would.
#include "common/handles.hpp"
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "support/standin_bus.hpp"
#include "support/standin_process.hpp"
#include "tablegen/sample_table.hpp"

#include <csignal>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <sys/stat.h>
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

// Each request with its options as the manager receives them, and what qvm
// prints of the reply; a failing status is printed too and ends with 1.
TEST_F(ToolOnBus, RequestsSendTheirArgumentsAndPrintTheReply)
{
    struct Request
    {
        std::string line;
        const char* member;
        const char* reply; // the scripted reply, or none for the default
        const char* sent;  // the arguments of its one call, or none
        int status;
        std::string out;
        std::string err = {};
    };
    const Request requests[] = {
        {"manager version", "GetVersion", nullptr, "[]", 0, "1.0.0-standin\n"},
        {"manager package --ticket T1 --number1 1 --number2 0xFFFF", "Package",
         nullptr, R"(["T1",1,65535])", 0, "status 0\n"},
        {"manager package", "Package", R"({"reply": [7]})", R"(["",0,0])", 1,
         "status 7\n", "qvm: manager package: Background start failure (7)\n"},
        {"manager save --ticket T --text hello --value 5 --value1 1 --value2 2 "
         "--value3 3 --text1 a --text2 b",
         "Save", nullptr, R"(["T","hello",5,[1,2,3,"a","b"]])", 0,
         "status 0\n"},
        {"manager export --ticket T --kind 2 --text6 f --number 9", "Export",
         nullptr, R"(["T",[2,"","","","","","f"],9])", 0, "status 0\n"},
        {"manager collect --ticket T --kind 16 --text1 a --number1 1 "
         "--number2 2",
         "Collect", R"({"reply": [0, 42, "collected"]})",
         R"(["T",[16,"a","","","","",""],1,2])", 0,
         "status 0\nvalue 42\ntext collected\n"},
        {"manager ticket --op 1 --sub 3", "Ticket",
         R"({"reply": [[1, 2, 3, 4, 5, 6, 7, 8, 9, 10, "x", "y", "z"],
                       ["a", "b", "c"]]})",
         R"([[1,1850305396,1,3,0,0,0,0,"","",""]])", 0,
         "value1 1\nvalue2 2\nvalue3 3\nvalue4 4\nbytes 5 6 7 8 9 10\n"
         "text1 x\ntext2 y\ntext3 z\nlist c\nlist b\nlist a\n"},
        // The library refuses an unknown operation before anything is sent.
        {"manager ticket --op 9", "Ticket", nullptr, nullptr, 1, "",
         "qvm: manager ticket: the library refuses operation 9 sub 0: not an "
         "operation it knows (Invalid request (3))\n"},
        {"event add Msg.1 -- a --b", "AddEventLog", nullptr,
         R"([4,"OBX.Embedded.1-1","Msg.1",["a","--b"]])", 0, "result 1\n"},
        {"inventory get xyz.openbmc_project.invd /xyz/openbmc_project/invd/oem "
         "xyz.openbmc_project.Inventory.Item.Oem",
         "GetAll", nullptr, R"(["xyz.openbmc_project.Inventory.Item.Oem"])", 0,
         "{\n  \"xyz.openbmc_project.Inventory.Item.Oem\": {\n"
         "    \"FullSMBIOSTablePath\": \"\\/var\\/lib\\/invd\\/smbios2\",\n"
         "    \"BiosConfigurationFilePath\": "
         "\"\\/var\\/lib\\/invd\\/bios_config.json\"\n  }\n}\n"},
        {"inventory get net.example.Nothing", "GetAll", nullptr, nullptr, 1, "",
         "qvm: inventory get: on the bus at " + bus->address() +
             ", net.example.Nothing: "
             "org.freedesktop.DBus.Error.ServiceUnknown: The name "
             "net.example.Nothing was not provided by any .service files "
             "(Operation failed (-1))\n"},
        // The error's message comes with what the library logs.
        {"manager package", "Package",
         R"({"error": "org.freedesktop.DBus.Error.AccessDenied",
             "message": "not now"})",
         R"(["",0,0])", 1, "status -1\n",
         "qvm: manager package: Operation failed (-1)\n"
         "qvm: library: (package)Failed to issue method call: not now\n"},
        // --timeout bounds a call that the service never answers.
        {"--timeout 0.2 manager package", "Package", R"({"hang": true})",
         R"(["",0,0])", 1, "status -1\n",
         "qvm: manager package: Operation failed (-1)\n"
         "qvm: library: (package)Failed to issue method call: Connection "
         "timed out\n"},
        {"--verbose manager package", "Package", nullptr, R"(["",0,0])", 0,
         "status 0\n", "qvm: library: Success return\n"},
    };
    for (const Request& r : requests)
    {
        control::reset();
        if (r.reply != nullptr)
            control::script(r.member, r.reply);
        EXPECT_EQ(onStandin(words(r.line)), (Result{r.status, r.out, r.err}))
            << r.line;
        EXPECT_EQ(control::calls(r.member),
                  r.sent ? std::vector<std::string>{r.sent}
                         : std::vector<std::string>{})
            << r.line;
    }
}

// The demo inventory's walk, reviewed once, printed as the library writes
// documents.
TEST_F(ToolOnBus, InventoryPrintsTheWholeWalk)
{
    const Result r = onStandin({"inventory"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_THAT(r.out, testing::StartsWith(
                           "[\n  [\n    \"xyz.openbmc_project.FanSensor\",\n"
                           "    \"\\/xyz\\/openbmc_project\\/control\\/"));
    const qvm::JsonPtr printed(json_tokener_parse(r.out.c_str()));
    const qvm::JsonPtr expected(json_object_from_file(QVM_INVENTORY_EXPECTED));
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(json_object_equal(printed.get(), expected.get())) << r.out;
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

TEST(ToolWithoutBus, EveryBusCommandNamesTheBusItCannotReach)
{
    for (const std::string line :
         {"manager version", "manager package", "manager save",
          "manager collect", "manager export", "manager ticket",
          "manager watch", "event add Msg", "inventory", "inventory get a.b",
          "smbios info --from-bus"})
    {
        const auto args = words(line);
        const std::string title =
            args[0] + (args.size() > 1 ? " " + args[1] : "");
        EXPECT_EQ(qvmtest::tool::runQvm(onBus(kNoBus, args)),
                  (Result{1, "",
                          "qvm: " + title + ": cannot connect to the bus at " +
                              kNoBus + ": No such file or directory\n"}));
    }
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

// Asked for the daemon's table, each failure says why, with the bus and
// the path.
TEST(ToolOnOwnBus, EachReasonWhyTheDaemonGivesNoTableIsSaid)
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

    const std::string on = "on the bus at " + bus->address();
    control::reset();
    EXPECT_EQ(onStandin(words("smbios service-tag")).err,
              "qvm: smbios service-tag: cannot read /var/lib/invd/smbios2, "
              "the SMBIOS table that the inventory daemon " +
                  on + " names: No such file or directory\n");
    // A directory or a FIFO named as the table is refused before any wait.
    const qvmtest::TempFile fifoPlace({});
    const std::string fifo = fifoPlace.path() + ".fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const auto& [path, kind] :
         {std::pair<std::string, std::string>{"/", "a directory"},
          {fifo, "a FIFO"}})
    {
        control::script("/xyz/openbmc_project/invd/oem:Get",
                        R"({"reply": [{"type": "s", "value": ")" + path +
                            R"("}]})");
        for (const char* command :
             {"smbios service-tag", "smbios export --from-bus",
              "smbios info --from-bus"})
        {
            const Result r = onStandin(words(command));
            EXPECT_EQ(r.status, 1) << command << " " << path;
            EXPECT_THAT(r.err, HasSubstr("cannot read " + path +
                                         ", the SMBIOS table that the "
                                         "inventory daemon " +
                                         on + " names: " + kind + "\n"))
                << command;
        }
    }
    unlink(fifo.c_str());
    control::script("/xyz/openbmc_project/invd/oem:Get",
                    R"({"error": "org.freedesktop.DBus.Error.UnknownProperty",
                        "message": "no such property"})");
    EXPECT_EQ(onStandin(words("smbios service-tag --from-bus")),
              (Result{1, "",
                      "qvm: smbios service-tag: the inventory daemon "
                      "(xyz.openbmc_project.invd) " +
                          on +
                          " gives no table path (FullSMBIOSTablePath): "
                          "org.freedesktop.DBus.Error.UnknownProperty: no "
                          "such property\n"}));
    control::reset();
}
