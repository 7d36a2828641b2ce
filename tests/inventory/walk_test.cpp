#include "qvmclient.h"
#include "support/log_capture.hpp"
#include "support/standin_bus.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::SizeIs;
namespace standin = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_TEST_FIXTURE);

constexpr int kPlain = JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE;

std::string text(json_object* o)
{
    return o ? json_object_to_json_string_ext(o, kPlain) : "null";
}

// Compares documents as JSON values (member order of objects aside).
testing::AssertionResult sameJson(json_object* actual, const char* expected)
{
    const qvm::JsonPtr want(json_tokener_parse(expected));
    if (!want)
        return testing::AssertionFailure() << "bad expected JSON";
    if (json_object_equal(actual, want.get()))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << "got      " << text(actual) << "\nexpected " << text(want.get());
}

class InventoryWalk : public testing::Test
{
  protected:
    void SetUp() override
    {
        standin::reset();
        sd_bus* raw = nullptr;
        ASSERT_GE(sd_bus_open_system(&raw), 0);
        bus_.reset(raw);
    }

    qvm::BusPtr bus_;
};

constexpr char kInvd[] = "/xyz/openbmc_project/invd/oem:Get";

TEST_F(InventoryWalk, CollectsEveryInterfaceInMapperOrder)
{
    json_object* out = nullptr;
    ASSERT_EQ(retrieveSystemObjectProperties(bus_.get(), &out), 0);
    const qvm::JsonPtr triples(out);
    // Skipped: "/", "/xyz" and "/xyz/openbmc_project" though they have
    // interfaces of their own, every org.freedesktop.DBus* interface, the
    // failing Mixed.B and Mixed.C with its unix fd.
    EXPECT_TRUE(sameJson(triples.get(), R"([
      ["net.qvmtest.Widget", "/net/qvmtest/Widget",
       {"net.qvmtest.Widget": {"Size": 3}}],
      ["xyz.openbmc_project.invd", "/xyz/openbmc_project/invd/oem",
       {"xyz.openbmc_project.Inventory.Item.Oem": {
          "FullSMBIOSTablePath": "/run/qvmtest/smbios",
          "BiosConfigurationFilePath": "/run/qvmtest/bios.json"}}],
      ["net.qvmtest.Alpha", "/xyz/openbmc_project/inventory",
       {"net.qvmtest.Root": {"Level": 3}}],
      ["net.qvmtest.Alpha", "/xyz/openbmc_project/inventory/mixed",
       {"net.qvmtest.Mixed.A": {"Name": "first"}}],
      ["net.qvmtest.Alpha", "/xyz/openbmc_project/inventory/mixed",
       {"net.qvmtest.Mixed.D": {"Names": ["x", "y"], "None": []}}],
      ["net.qvmtest.Alpha", "/xyz/openbmc_project/inventory/shared",
       {"net.qvmtest.Shared": {"Owner": "alpha"}}],
      ["net.qvmtest.Beta", "/xyz/openbmc_project/inventory/shared",
       {"net.qvmtest.Shared": {"Owner": "beta"}}]
    ])"));

    EXPECT_THAT(standin::calls("GetSubTree"), ElementsAre(R"(["\/",0,[]])"));
    for (const char* skipped : {"/", "/xyz", "/xyz/openbmc_project"})
        EXPECT_THAT(standin::calls(std::string(skipped) + ":GetAll"), IsEmpty())
            << skipped;
    EXPECT_THAT(standin::calls("/xyz/openbmc_project/inventory/mixed:GetAll"),
                ElementsAre(R"(["net.qvmtest.Mixed.A"])",
                            R"(["net.qvmtest.Mixed.B"])",
                            R"(["net.qvmtest.Mixed.C"])",
                            R"(["net.qvmtest.Mixed.D"])"));
    EXPECT_THAT(standin::calls("GetAll"), SizeIs(9));
}

TEST_F(InventoryWalk, FailedMapperCallLeavesAnEmptyArray)
{
    json_object* out = nullptr;
    EXPECT_EQ(retrieveSystemObjectProperties(nullptr, &out), 3);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(retrieveSystemObjectProperties(bus_.get(), nullptr), 3);

    standin::script("GetSubTree",
                    R"({"error": "org.freedesktop.DBus.Error.Failed"})");
    EXPECT_EQ(retrieveSystemObjectProperties(bus_.get(), &out), -1);
    const qvm::JsonPtr triples(out);
    EXPECT_EQ(text(triples.get()), "[]");
    EXPECT_THAT(standin::calls("GetAll"), IsEmpty());
    out = nullptr;
    EXPECT_EQ(get_object_lists(bus_.get(), &out), -1);
    EXPECT_EQ(out, nullptr);
}

TEST_F(InventoryWalk, ObjectListsAreTheMapperDocument)
{
    json_object* out = nullptr;
    EXPECT_EQ(get_object_lists(bus_.get(), nullptr), 3);
    ASSERT_EQ(get_object_lists(bus_.get(), &out), 0);
    qvm::JsonPtr document(out);
    json_object* objects = nullptr;
    ASSERT_TRUE(json_object_object_get_ex(document.get(), "Returned Objects",
                                          &objects));
    // The root node first, listed for every service below it.
    EXPECT_TRUE(sameJson(json_object_array_get_idx(objects, 0), R"({"/": [
      {"net.qvmtest.Alpha": ["net.qvmtest.Root",
        "org.freedesktop.DBus.Introspectable", "org.freedesktop.DBus.Peer",
        "org.freedesktop.DBus.Properties"]},
      {"net.qvmtest.Beta": ["org.freedesktop.DBus.Introspectable",
        "org.freedesktop.DBus.Peer", "org.freedesktop.DBus.Properties"]},
      {"net.qvmtest.Widget": ["org.freedesktop.DBus.Introspectable",
        "org.freedesktop.DBus.Peer", "org.freedesktop.DBus.Properties"]},
      {"xyz.openbmc_project.invd": ["org.freedesktop.DBus.Introspectable",
        "org.freedesktop.DBus.Peer", "org.freedesktop.DBus.Properties"]}]})"));

    // A reply of another shape is an empty document or none at all.
    standin::script("GetSubTree", R"({"signature": "s", "reply": ["x"]})");
    ASSERT_EQ(get_object_lists(bus_.get(), &out), 0);
    document.reset(out);
    EXPECT_EQ(text(document.get()), "{}");
    standin::script("GetSubTree", R"({"signature": "as", "reply": [["x"]]})");
    EXPECT_EQ(get_object_lists(bus_.get(), &out), -1);
    EXPECT_EQ(out, nullptr);
}

TEST_F(InventoryWalk, PropertiesOfOneNode)
{
    json_object* out = nullptr;
    // Object and interface default to the service name.
    ASSERT_EQ(get_properties_from_node(bus_.get(), "net.qvmtest.Widget",
                                       nullptr, nullptr, &out),
              0);
    qvm::JsonPtr node(out);
    EXPECT_EQ(text(node.get()), R"({"net.qvmtest.Widget":{"Size":3}})");
    EXPECT_THAT(standin::calls("/net/qvmtest/Widget:GetAll"),
                ElementsAre(R"(["net.qvmtest.Widget"])"));

    // A failing GetAll, one with a unix fd, an object that is not there.
    const char* mixed = "/xyz/openbmc_project/inventory/mixed";
    for (const auto& [path, interface] :
         {std::pair{mixed, "net.qvmtest.Mixed.B"},
          {mixed, "net.qvmtest.Mixed.C"},
          {"/nowhere", "net.qvmtest.Mixed.A"}})
    {
        out = nullptr;
        EXPECT_EQ(get_properties_from_node(bus_.get(), "net.qvmtest.Alpha",
                                           path, interface, &out),
                  -1)
            << path << " " << interface;
        EXPECT_EQ(out, nullptr);
    }
}

TEST_F(InventoryWalk, InventoryDaemonPaths)
{
    char* out = nullptr;
    LogCapture log;
    EXPECT_EQ(get_property_from_invd(bus_.get(), "SerialNumber", &out), 3);
    EXPECT_EQ(get_property_from_invd(nullptr, "FullSMBIOSTablePath", &out), 3);
    EXPECT_EQ(get_property_from_invd(bus_.get(), nullptr, &out), 3);
    EXPECT_EQ(
        get_property_from_invd(bus_.get(), "FullSMBIOSTablePath", nullptr), 3);
    EXPECT_THAT(standin::calls(kInvd), IsEmpty());

    for (const auto& [name, path] :
         {std::pair{"FullSMBIOSTablePath", "/run/qvmtest/smbios"},
          {"BiosConfigurationFilePath", "/run/qvmtest/bios.json"}})
    {
        ASSERT_EQ(get_property_from_invd(bus_.get(), name, &out), 0);
        EXPECT_STREQ(qvm::HeapString(out).get(), path);
        EXPECT_THAT(standin::calls(kInvd).back(),
                    R"(["xyz.openbmc_project.Inventory.Item.Oem",")" +
                        std::string(name) + "\"]");
    }
    EXPECT_THAT(standin::calls(kInvd), SizeIs(2));
    EXPECT_THAT(log.lines(), IsEmpty());

    // A failed call goes unlogged; a value that is not a string is logged.
    out = nullptr;
    standin::script(kInvd, R"({"error": "org.freedesktop.DBus.Error.Failed"})");
    EXPECT_EQ(get_property_from_invd(bus_.get(), "FullSMBIOSTablePath", &out),
              -1);
    EXPECT_THAT(log.lines(), IsEmpty());
    standin::script(kInvd, R"({"reply": [{"type": "u", "value": 5}]})");
    EXPECT_EQ(get_property_from_invd(bus_.get(), "FullSMBIOSTablePath", &out),
              -1);
    EXPECT_EQ(out, nullptr);
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 3,
                                    "Failed to parse response message: No such "
                                    "device or address\n"}));
}

// A GetAll reply that the stand-in sends for one interface, and what the
// property reader makes of it.
struct ShapeCase
{
    const char* name;
    const char* properties; // a{sv} as the stand-in types it
    int32_t result;
    const char* document;
};

const ShapeCase kShapes[] = {
    {"a nested dictionary injects no properties",
     R"({"Assoc": {"type": "a{ss}", "value": {"x": "1",
          "PrettyName": "INJECTED", "Present": "no"}},
        "Present": {"type": "b", "value": true},
        "PrettyName": {"type": "s", "value": "Real"}})",
     0,
     R"({"Assoc":["x","1","PrettyName","INJECTED","Present","no"],)"
     R"("Present":true,"PrettyName":"Real"})"},
    {"associations: one flat array of every string",
     R"j({"Associations": {"type": "a(sss)", "value": [
          ["chassis", "all_sensors", "/xyz/openbmc_project/inventory/system"],
          ["inventory", "sensors", "/xyz/openbmc_project/sensors/t0"]]},
        "After": {"type": "u", "value": 1}})j",
     0,
     R"({"Associations":["chassis","all_sensors",)"
     R"("/xyz/openbmc_project/inventory/system","inventory","sensors",)"
     R"("/xyz/openbmc_project/sensors/t0"],"After":1})"},
    {"arrays of arrays: one-member objects under the key",
     R"({"N": {"type": "aas", "value": [["a", "b"], [], ["c"]]}})", 0,
     R"({"N":[{"N":["a","b"]},{"N":[]},{"N":["c"]}]})"},
    {"a struct outside arrays: its last value",
     R"j({"P": {"type": "(ii)", "value": [3, 4]}})j", 0, R"({"P":4})"},
    {"variants and dictionaries inside arrays",
     R"j({"V": {"type": "av", "value": [{"type": "s", "value": "a"},
          {"type": "as", "value": ["b"]}, {"type": "(is)", "value": [1, "c"]}]},
        "D": {"type": "a{sv}", "value": {"k": {"type": "ai", "value": [2]}}}})j",
     0, R"({"V":["a",{"V":["b"]},1,"c"],"D":["k",{"D":[2]}]})"},
    {"NaN and the infinities become null",
     R"({"N": {"type": "d", "value": "NaN"},
        "I": {"type": "d", "value": "Infinity"},
        "M": {"type": "ad", "value": ["-Infinity", 1.5]}})",
     0, R"({"N":null,"I":null,"M":[null,1.5]})"},
    {"a unix fd ends the conversion, keeping what came before",
     R"j({"A": {"type": "u", "value": 1},
        "S": {"type": "a(ss)", "value": [["p", "q"], ["r", "s"]]},
        "F": {"type": "h", "value": 0},
        "B": {"type": "u", "value": 2}})j",
     -1, R"({"A":1,"S":["p","q","r","s"]})"},
};

TEST_F(InventoryWalk, EveryValueShapeConvertsUnderItsOwnName)
{
    const char* path = "/xyz/openbmc_project/inventory/mixed";
    for (const ShapeCase& c : kShapes)
    {
        standin::script(std::string(path) + ":GetAll",
                        std::string(R"({"reply": [)") + c.properties + "]}");
        sd_bus_message* raw = nullptr;
        ASSERT_GE(sd_bus_call_method(bus_.get(), "net.qvmtest.Alpha", path,
                                     "org.freedesktop.DBus.Properties",
                                     "GetAll", nullptr, &raw, "s",
                                     "net.qvmtest.Mixed.A"),
                  0)
            << c.name;
        const qvm::MessagePtr reply(raw);
        json_object* out = nullptr;
        EXPECT_EQ(make_JSON_object_from_GetAllReply(reply.get(), &out),
                  c.result)
            << c.name;
        const qvm::JsonPtr document(out);
        EXPECT_EQ(text(document.get()), c.document) << c.name;
    }
}

// Alpha hangs on its mixed object: from there on the walk drops Alpha's
// triples without asking it again (Mixed.D, Shared), and is otherwise the
// full walk.
TEST_F(InventoryWalk, HungServiceIsAskedOnceAndTheWalkGoesOn)
{
    json_object* out = nullptr;
    ASSERT_EQ(retrieveSystemObjectProperties(bus_.get(), &out), 0);
    const qvm::JsonPtr full(out);
    standin::reset();
    ASSERT_GE(sd_bus_set_method_call_timeout(bus_.get(), 200'000), 0);
    standin::script("/xyz/openbmc_project/inventory/mixed:GetAll",
                    R"({"hang": true})");
    ASSERT_EQ(retrieveSystemObjectProperties(bus_.get(), &out), 0);
    const qvm::JsonPtr walked(out);

    const qvm::JsonPtr expected(json_object_new_array());
    for (std::size_t i = 0; i < json_object_array_length(full.get()); ++i)
    {
        json_object* triple = json_object_array_get_idx(full.get(), i);
        const std::string service =
            json_object_get_string(json_object_array_get_idx(triple, 0));
        const std::string path =
            json_object_get_string(json_object_array_get_idx(triple, 1));
        if (service != "net.qvmtest.Alpha" ||
            path == "/xyz/openbmc_project/inventory")
            json_object_array_add(expected.get(), json_object_get(triple));
    }
    EXPECT_TRUE(json_object_equal(walked.get(), expected.get()))
        << text(walked.get());
    EXPECT_THAT(standin::calls("/xyz/openbmc_project/inventory/mixed:GetAll"),
                ElementsAre(R"(["net.qvmtest.Mixed.A"])"));
    EXPECT_THAT(standin::calls("GetAll"), SizeIs(5));
}

// The demo inventory, served by a stand-in of its own.
TEST(ShippedInventory, WalkGivesTheReviewedDocument)
{
    qvmtest::StandinProcess standin;
    ASSERT_TRUE(
        standin.start(qvmtest::standinProgram(), QVM_INVENTORY_FIXTURE));
    const qvm::BusPtr bus = standin.connect();
    ASSERT_NE(bus, nullptr);
    json_object* out = nullptr;
    ASSERT_EQ(retrieveSystemObjectProperties(bus.get(), &out), 0);
    const qvm::JsonPtr triples(out);
    const qvm::JsonPtr expected(json_object_from_file(QVM_INVENTORY_EXPECTED));
    ASSERT_NE(expected, nullptr);
    EXPECT_TRUE(json_object_equal(triples.get(), expected.get()))
        << text(triples.get());
}

TEST(ObjectFromServiceName, DotsBecomeSlashes)
{
    char* out = nullptr;
    ASSERT_EQ(make_object_from_servicename("a.b.c", &out), 0);
    qvm::HeapString path(out);
    EXPECT_STREQ(path.get(), "/a/b/c");
    ASSERT_EQ(make_object_from_servicename("", &out), 0);
    path.reset(out);
    EXPECT_STREQ(path.get(), "/");
    EXPECT_EQ(make_object_from_servicename(nullptr, &out), -1);
    EXPECT_EQ(make_object_from_servicename("a", nullptr), -1);
}

} // namespace
