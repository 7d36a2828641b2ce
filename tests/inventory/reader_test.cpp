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

// A reply given as a signature and the JSON array of its arguments, with
// what a reader makes of it.
struct ReplyCase
{
    const char* name;
    const char* signature;
    const char* values;
    Outcome expected;
};

class ReaderTest : public testing::Test
{
  protected:
    // A sealed method return whose arguments are the JSON array values
    // converted by signature.
    qvm::MessagePtr reply(const char* signature, const char* values)
    {
        qvm::MessagePtr m = bus_.methodReturn();
        const qvm::JsonPtr json(json_tokener_parse(values));
        if (!m || !json ||
            standin::appendJsonArgs(m.get(), signature, json.get()) < 0)
        {
            ADD_FAILURE() << "cannot build " << signature << " " << values;
            return nullptr;
        }
        return bus_.seal(std::move(m));
    }

    template <std::size_t N>
    void expectEach(Reader reader, const ReplyCase (&cases)[N])
    {
        for (const ReplyCase& c : cases)
        {
            const qvm::MessagePtr m = reply(c.signature, c.values);
            EXPECT_EQ(run(reader, m.get()), c.expected) << c.name;
        }
    }

    qvmtest::LocalBus bus_;
};

// Properties: a{sv} with every basic type and arrays of them, then replies
// of other shapes (values of other shapes are sent by the stand-in in
// walk_test.cpp).
const ReplyCase kPropertyCases[] = {
    {"every basic type",
     "a{sv}",
     R"([{"b1": {"type": "b", "value": true},
          "b0": {"type": "b", "value": false},
          "y": {"type": "y", "value": 255},
          "n": {"type": "n", "value": -2},
          "q": {"type": "q", "value": 65535},
          "i": {"type": "i", "value": -2147483648},
          "u": {"type": "u", "value": 4294967295},
          "x": {"type": "x", "value": -9223372036854775808},
          "t": {"type": "t", "value": 18446744073709551615},
          "tmax": {"type": "t", "value": 9223372036854775807},
          "tlow": {"type": "t", "value": 9223372036854775808},
          "d": {"type": "d", "value": 2.5},
          "s": {"type": "s", "value": "text"},
          "o": {"type": "o", "value": "/a/b"},
          "g": {"type": "g", "value": "a{sv}"}}])",
     {0, R"({"b1":true,"b0":false,"y":255,"n":-2,"q":65535,)"
         R"("i":-2147483648,"u":4294967295,"x":-9223372036854775808,"t":-1,)"
         R"("tmax":9223372036854775807,"tlow":-9223372036854775808,"d":2.5,)"
         R"("s":"text","o":"/a/b","g":"a{sv}"})"}},
    {"arrays of basic values",
     "a{sv}",
     R"([{"L": {"type": "as", "value": ["p", "q"]},
          "E": {"type": "as", "value": []},
          "I": {"type": "ai", "value": [1, -2, 3]}}])",
     {0, R"({"L":["p","q"],"E":[],"I":[1,-2,3]})"}},
    {"empty dictionary", "a{sv}", "[{}]", {0, "{}"}},
    {"no argument", "", "[]", {0, "{}"}},
    {"first argument a string", "s", R"(["x"])", {1, "{}"}},
    {"array of strings", "as", R"([["x"]])", {-1, "{}"}},
    {"key not a string",
     "a{uv}",
     R"([{"5": {"type": "u", "value": 1}}])",
     {-1, "{}"}},
};

TEST_F(ReaderTest, PropertiesConvertAsFarAsTheShapeAllows)
{
    expectEach(make_JSON_object_from_GetAllReply, kPropertyCases);
}

// Subtree: a{sa{sas}} and replies of other shapes.
const ReplyCase kSubtreeCases[] = {
    {"paths, services and interfaces in reply order",
     "a{sa{sas}}",
     R"([{"/p2": {"S2": ["I1", "I2"], "S1": []}, "/p1": {"S3": ["I3"]}}])",
     {0, R"({"Returned Objects":[{"/p2":[{"S2":["I1","I2"]},{"S1":[]}]},)"
         R"({"/p1":[{"S3":["I3"]}]}]})"}},
    {"interface names of any string type",
     "a{sa{sao}}",
     R"([{"/p": {"S": ["/i/1"]}}])",
     {0, R"({"Returned Objects":[{"/p":[{"S":["/i/1"]}]}]})"}},
    {"no objects", "a{sa{sas}}", "[{}]", {0, R"({"Returned Objects":[]})"}},
    {"no argument", "", "[]", {0, "{}"}},
    {"first argument a string", "s", R"(["x"])", {1, "{}"}},
    {"array of strings",
     "as",
     R"([["x"]])",
     {-1, R"({"Returned Objects":[]})"}},
    {"path not a string",
     "a{oa{sas}}",
     R"([{"/p": {"S": ["I"]}}])",
     {-1, R"({"Returned Objects":[]})"}},
    {"service not a string",
     "a{sa{oas}}",
     R"([{"/p": {"/s": ["I"]}}])",
     {-1, R"({"Returned Objects":[{"/p":[]}]})"}},
    {"path value not an array",
     "a{sv}",
     R"([{"/p": {"type": "s", "value": "x"}}])",
     {-1, R"({"Returned Objects":[{"/p":[]}]})"}},
    {"service value not an array",
     "a{sa{ss}}",
     R"([{"/p": {"S": "I"}}])",
     {-1, R"({"Returned Objects":[{"/p":[{"S":[]}]}]})"}},
    {"interface list of dict entries",
     "a{sa{sa{sas}}}",
     R"([{"/p": {"S": {"X": ["I"]}}}])",
     {-1, R"({"Returned Objects":[{"/p":[{"S":[]}]}]})"}},
    {"interface list of numbers",
     "a{sa{sau}}",
     R"([{"/p": {"S": [1]}}])",
     {-1, R"({"Returned Objects":[{"/p":[{"S":[]}]}]})"}},
};

TEST_F(ReaderTest, SubtreeConvertsAsFarAsTheShapeAllows)
{
    expectEach(make_JSON_object_from_GetSubTreeReply, kSubtreeCases);
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
    EXPECT_EQ(run(qvm::make_JSON_object_from_message, error.get()),
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
