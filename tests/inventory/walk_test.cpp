#include "inventory/inventory.hpp"
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

// The result of a call that hands out a document, and its text ("unset"
// when it wrote none).
using Outcome = std::pair<int32_t, std::string>;
template <typename Call> Outcome outcome(Call call)
{
    json_object* out = nullptr;
    const int32_t rc = call(&out);
    const qvm::JsonPtr owned(out);
    return {rc, out ? text(out) : "unset"};
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

// The mapper's document as it is, or nothing; a failed mapper call leaves
// the walk an empty array.
TEST_F(InventoryWalk, MapperRepliesGiveTheObjectLists)
{
    const auto lists = [this]
    {
        return outcome([this](json_object** o)
                       { return get_object_lists(bus_.get(), o); });
    };
    const auto walk = [this](sd_bus* bus)
    {
        return outcome([bus](json_object** o)
                       { return retrieveSystemObjectProperties(bus, o); });
    };
    EXPECT_EQ(walk(nullptr), (Outcome{3, "unset"}));
    EXPECT_EQ(get_object_lists(bus_.get(), nullptr), 3);
    json_object* out = nullptr;
    ASSERT_EQ(get_object_lists(bus_.get(), &out), 0);
    const qvm::JsonPtr document(out);
    json_object* objects = nullptr;
    ASSERT_TRUE(json_object_object_get_ex(document.get(), "Returned Objects",
                                          &objects));
    // The root node first, listed for every service below it.
    const std::string dbus = R"("org.freedesktop.DBus.Introspectable",)"
                             R"("org.freedesktop.DBus.Peer",)"
                             R"("org.freedesktop.DBus.Properties"])";
    EXPECT_EQ(text(json_object_array_get_idx(objects, 0)),
              R"({"/":[{"net.qvmtest.Alpha":["net.qvmtest.Root",)" + dbus +
                  R"(},{"net.qvmtest.Beta":[)" + dbus +
                  R"(},{"net.qvmtest.Widget":[)" + dbus +
                  R"(},{"xyz.openbmc_project.invd":[)" + dbus + "}]}");

    // A reply of another shape is an empty document or none at all.
    standin::script("GetSubTree", R"({"signature": "s", "reply": ["x"]})");
    EXPECT_EQ(lists(), (Outcome{0, "{}"}));
    standin::script("GetSubTree", R"({"signature": "as", "reply": [["x"]]})");
    EXPECT_EQ(lists(), (Outcome{-1, "unset"}));
    standin::script("GetSubTree",
                    R"({"error": "org.freedesktop.DBus.Error.Failed"})");
    EXPECT_EQ(lists(), (Outcome{-1, "unset"}));
    EXPECT_EQ(walk(bus_.get()), (Outcome{-1, "[]"}));
    EXPECT_THAT(standin::calls("GetAll"), IsEmpty());
}

// Object and interface default to the service name; a failing GetAll,
// one with a unix fd and an object that is not there give nothing.
TEST_F(InventoryWalk, PropertiesOfOneNode)
{
    const auto node =
        [this](const char* service, const char* path, const char* interface)
    {
        return outcome(
            [&](json_object** o) {
                return get_properties_from_node(bus_.get(), service, path,
                                                interface, o);
            });
    };
    EXPECT_EQ(node("net.qvmtest.Widget", nullptr, nullptr),
              (Outcome{0, R"({"net.qvmtest.Widget":{"Size":3}})"}));
    EXPECT_THAT(standin::calls("/net/qvmtest/Widget:GetAll"),
                ElementsAre(R"(["net.qvmtest.Widget"])"));
    const char* mixed = "/xyz/openbmc_project/inventory/mixed";
    for (const auto& [path, interface] :
         {std::pair{mixed, "net.qvmtest.Mixed.B"},
          {mixed, "net.qvmtest.Mixed.C"},
          {"/nowhere", "net.qvmtest.Mixed.A"}})
        EXPECT_EQ(node("net.qvmtest.Alpha", path, interface).first, -1)
            << path << " " << interface;
}

TEST_F(InventoryWalk, InventoryDaemonPaths)
{
    char* out = nullptr;
    LogCapture log;
    EXPECT_EQ(get_property_from_invd(bus_.get(), "SerialNumber", &out), 3);
    EXPECT_EQ(get_property_from_invd(nullptr, "FullSMBIOSTablePath", &out), 3);
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

// A GetAll waits as long as the bus's own method-call time-out allows, but
// never the default 25 seconds for a hung service.
TEST(GetAllTimeout, IsTheBussOwnUpToFiveSeconds)
{
    for (const auto& [own, used] : {std::pair<uint64_t, uint64_t>{0, 5'000'000},
                                    {200'000, 200'000},
                                    {5'000'000, 5'000'000},
                                    {25'000'000, 5'000'000}})
    {
        sd_bus* raw = nullptr;
        ASSERT_GE(sd_bus_new(&raw), 0);
        const qvm::BusPtr unstarted(raw);
        if (own != 0)
        {
            ASSERT_GE(sd_bus_set_method_call_timeout(raw, own), 0);
        }
        EXPECT_EQ(qvm::getAllTimeout(raw), used) << own;
    }
}

TEST(ObjectFromServiceName, DotsBecomeSlashes)
{
    char* out = nullptr;
    ASSERT_EQ(make_object_from_servicename("a.b.c", &out), 0);
    EXPECT_STREQ(qvm::HeapString(out).get(), "/a/b/c");
    EXPECT_EQ(make_object_from_servicename(nullptr, &out), -1);
    EXPECT_EQ(make_object_from_servicename("a", nullptr), -1);
}

} // namespace
