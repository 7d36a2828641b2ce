#include "inventory/inventory.hpp"
#include "json_dbus.hpp"
#include "qvmclient.h"
#include "support/local_bus.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

constexpr int kPlain = JSON_C_TO_STRING_PLAIN | JSON_C_TO_STRING_NOSLASHESCAPE;

// The result and the JSON text it wrote ("unset" when it wrote nothing).
using Outcome = std::pair<int32_t, std::string>;
using Reader = int32_t (*)(sd_bus_message*, json_object**);

Outcome run(Reader reader, sd_bus_message* reply)
{
    json_object* out = nullptr;
    const int32_t result = reader(reply, &out);
    const qvm::JsonPtr owned(out);
    return {result,
            out ? json_object_to_json_string_ext(out, kPlain) : "unset"};
}

class ReaderTest : public testing::Test
{
  protected:
    // A sealed method return whose arguments are the JSON array values
    // converted by signature.
    qvm::MessagePtr reply(const char* signature, json_object* values)
    {
        qvm::MessagePtr m = bus_.methodReturn();
        if (!m || standin::appendJsonArgs(m.get(), signature, values) < 0)
        {
            ADD_FAILURE() << "cannot build " << signature;
            return nullptr;
        }
        return bus_.seal(std::move(m));
    }

    qvm::MessagePtr reply(const char* signature, const char* values)
    {
        const qvm::JsonPtr json(json_tokener_parse(values));
        return reply(signature, json.get());
    }

    qvmtest::LocalBus bus_;
};

// Every case of the reply file: a reader, a reply given as a signature and
// the JSON array of its arguments, and the result and text expected.
TEST_F(ReaderTest, RepliesConvertAsFarAsTheirShapeAllows)
{
    const qvm::JsonPtr cases(json_object_from_file(QVM_INVENTORY_REPLIES));
    ASSERT_TRUE(json_object_is_type(cases.get(), json_type_array));
    for (std::size_t i = 0; i < json_object_array_length(cases.get()); ++i)
    {
        json_object* c = json_object_array_get_idx(cases.get(), i);
        const auto field = [c](const char* key)
        {
            json_object* value = nullptr;
            json_object_object_get_ex(c, key, &value);
            return value;
        };
        const std::string reader = json_object_get_string(field("reader"));
        const qvm::MessagePtr m =
            reply(json_object_get_string(field("signature")), field("values"));
        const Outcome expected{json_object_get_int(field("result")),
                               json_object_get_string(field("json"))};
        EXPECT_EQ(run(reader == "subtree"
                          ? make_JSON_object_from_GetSubTreeReply
                          : make_JSON_object_from_GetAllReply,
                      m.get()),
                  expected)
            << reader << ": " << json_object_get_string(field("case"));
    }
}

TEST_F(ReaderTest, MissingArgumentsAndErrorRepliesLeaveOutUnwritten)
{
    const qvm::MessagePtr empty = reply("a{sv}", "[{}]");
    const qvm::MessagePtr error = bus_.errorReply();
    for (Reader reader : {make_JSON_object_from_GetAllReply,
                          make_JSON_object_from_GetSubTreeReply})
    {
        EXPECT_EQ(run(reader, nullptr), (Outcome{3, "unset"}));
        EXPECT_EQ(reader(empty.get(), nullptr), 3);
        EXPECT_EQ(run(reader, error.get()), (Outcome{-1, "unset"}));
    }
    EXPECT_EQ(run(qvm::readPropertiesReply, error.get()),
              (Outcome{-1, "unset"}));
}

// Values that sd-bus refuses to read (here a string that is not UTF-8) can
// only come from the wire; the readers must end, not retry them.
TEST_F(ReaderTest, UnreadableValueEndsTheConversion)
{
    qvmtest::WireBody properties;
    const auto entries = properties.beginArray(8);
    for (const auto& [key, text] : {std::pair{"A", "ok"}, {"B", "\xff"}})
    {
        properties.beginStruct();
        properties.string(key);
        properties.signature("s");
        properties.string(text);
    }
    properties.endArray(entries);
    const qvm::MessagePtr received = bus_.receive("a{sv}", properties);
    ASSERT_NE(received, nullptr);
    EXPECT_EQ(run(make_JSON_object_from_GetAllReply, received.get()),
              (Outcome{-1, R"({"A":"ok"})"}));

    qvmtest::WireBody tree;
    const auto paths = tree.beginArray(8);
    tree.beginStruct();
    tree.string("/p");
    const auto services = tree.beginArray(8);
    tree.beginStruct();
    tree.string("S");
    const auto interfaces = tree.beginArray(4);
    tree.string("I1");
    tree.string("\xff");
    tree.endArray(interfaces);
    tree.endArray(services);
    tree.endArray(paths);
    const qvm::MessagePtr subtree = bus_.receive("a{sa{sas}}", tree);
    ASSERT_NE(subtree, nullptr);
    EXPECT_EQ(run(make_JSON_object_from_GetSubTreeReply, subtree.get()),
              (Outcome{-1, R"({"Returned Objects":[{"/p":[{"S":["I1"]}]}]})"}));
}

} // namespace
