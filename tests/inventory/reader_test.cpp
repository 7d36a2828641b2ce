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

// Properties: a{sv} with basic types, values of every container shape (a
// service may send anything), then replies of other shapes.
const ReplyCase kPropertyCases[] = {
    {"every basic type",
     "a{sv}",
     R"([{"b": {"type": "b", "value": true},
          "y": {"type": "y", "value": 255},
          "n": {"type": "n", "value": -2},
          "u": {"type": "u", "value": 4294967295},
          "t": {"type": "t", "value": 18446744073709551615},
          "tlow": {"type": "t", "value": 9223372036854775808},
          "d": {"type": "d", "value": 2.5},
          "o": {"type": "o", "value": "/a/b"},
          "g": {"type": "g", "value": "a{sv}"},
          "E": {"type": "as", "value": []},
          "I": {"type": "ai", "value": [1, -2]}}])",
     {0, R"({"b":true,"y":255,"n":-2,"u":4294967295,"t":-1,)"
         R"("tlow":-9223372036854775808,"d":2.5,"o":"/a/b","g":"a{sv}",)"
         R"("E":[],"I":[1,-2]})"}},
    {"a nested dictionary injects no properties",
     "a{sv}",
     R"([{"Assoc": {"type": "a{ss}", "value": {"x": "1", "Present": "no"}},
          "Present": {"type": "b", "value": true}}])",
     {0, R"({"Assoc":["x","1","Present","no"],"Present":true})"}},
    {"structs in arrays: one flat array; outside: the last value",
     "a{sv}",
     R"j([{"A": {"type": "a(ss)", "value": [["c", "a"], ["i", "s"]]},
           "P": {"type": "(ii)", "value": [3, 4]}}])j",
     {0, R"({"A":["c","a","i","s"],"P":4})"}},
    {"arrays, variants and dictionaries inside arrays",
     "a{sv}",
     R"j([{"N": {"type": "aas", "value": [["a", "b"], []]},
           "V": {"type": "av", "value": [{"type": "s", "value": "a"},
              {"type": "as", "value": ["b"]}, {"type": "(is)", "value": [1, "c"]}]},
           "D": {"type": "a{sv}", "value": {"k": {"type": "ai", "value": [2]}}}}])j",
     {0, R"({"N":[{"N":["a","b"]},{"N":[]}],"V":["a",{"V":["b"]},1,"c"],)"
         R"("D":["k",{"D":[2]}]})"}},
    {"NaN and the infinities become null",
     "a{sv}",
     R"([{"N": {"type": "d", "value": "NaN"},
          "M": {"type": "ad", "value": ["-Infinity", 1.5]}}])",
     {0, R"({"N":null,"M":[null,1.5]})"}},
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
    {"path value not an array",
     "a{sv}",
     R"([{"/p": {"type": "s", "value": "x"}}])",
     {-1, R"({"Returned Objects":[{"/p":[]}]})"}},
    {"service value not an array",
     "a{sa{ss}}",
     R"([{"/p": {"S": "I"}}])",
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
