// The JSON sink against the field strings of the same fields: for each set
// of fields, the sink's text (or refusal) must be what make_a_json_string
// gives for the strings a TaggedSink makes of them. The sets probe the
// places where the two could part: keys the grammar reads another way,
// escapes, empty and non-UTF-8 texts, repeated keys.
#include "capi/tagged_sink.hpp"
#include "fields/field_list.hpp"
#include "fields/json_object_sink.hpp"
#include "qvmclient.h"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

enum class Kind
{
    Integer,
    Weight,
    Text,
    Flag,
};

struct Field
{
    Kind kind;
    const char* key;
    const char* text = nullptr;
    std::int64_t number = 0;
};

void give(qvm::FieldSink& sink, const Field& field)
{
    switch (field.kind)
    {
        case Kind::Integer:
            return sink.integer(field.key, field.number);
        case Kind::Weight:
            return sink.bitWeight(field.key,
                                  static_cast<std::uint32_t>(field.number));
        case Kind::Text:
            return sink.text(field.key, field.text);
        case Kind::Flag:
            return sink.flag(field.key, field.number != 0);
    }
}

struct Result
{
    std::int64_t status;
    std::string text;
};

Result throughStrings(const std::vector<Field>& fields)
{
    qvm::OwnedFieldList list;
    qvm::capi::TaggedSink sink(*list);
    for (const Field& field : fields)
        give(sink, field);
    std::vector<char*> strings;
    for (FieldNode* node = (*list).head; node != nullptr; node = node->next)
        strings.push_back(node->text);
    char* text = nullptr;
    const auto status =
        make_a_json_string(static_cast<std::int32_t>(strings.size()),
                           strings.data(), nullptr, &text);
    Result result{status, text != nullptr ? text : ""};
    std::free(text);
    return result;
}

Result throughSink(const std::vector<Field>& fields)
{
    qvm::JsonObjectSink sink;
    // A first object leaves nothing behind for the second.
    sink.text("stale", "value");
    sink.reset();
    for (const Field& field : fields)
        give(sink, field);
    Result result{0, ""};
    result.status = sink.finish(result.text);
    return result;
}

const std::string kLongKey(128, 'k');

// One key text at three addresses: two constant arrays (never merged, as
// literals may be) and writable memory. All three are one key.
constexpr char kSlotA[] = "Slot";
constexpr char kSlotB[] = "Slot";
char slotWritable[] = "Slot";

const std::vector<std::vector<Field>> kCases = {
    // Escapes, the empty text, a repeated key keeping its first place.
    {{Kind::Integer, "Type", nullptr, -7},
     {Kind::Text, "path/name", "a/b \"q\" \\ \t\x01"},
     {Kind::Text, "empty", ""},
     {Kind::Integer, "Type", nullptr, INT64_MIN},
     {Kind::Weight, "bit", nullptr, 0x80000000}},
    // Bytes that are not UTF-8, and a null text that writes nothing.
    {{Kind::Text, "host", "ok \xC3\xA9 bad \xFF\xC3"},
     {Kind::Text, "none", nullptr},
     {Kind::Integer, "n", nullptr, 1}},
    // Keys holding a colon: the grammar splits them.
    {{Kind::Text, "a:b", "value"},
     {Kind::Integer, "n:5", nullptr, 7},
     {Kind::Weight, "w:z", nullptr, 0x10},
     {Kind::Text, "a", "again"}},
    // Escapes at the end of values longer than eight bytes, a key that
    // repeats more than once with bytes above 0x7F only in a later value,
    // and flags.
    {{Kind::Text, "k", "0123456789/"},
     {Kind::Text, "Item", "first"},
     {Kind::Text, "tail", "abcdefgh\"ij\n"},
     {Kind::Text, "Item", "caf\xC3\xA9 \xFF"},
     {Kind::Flag, "on", nullptr, 1},
     {Kind::Text, "Item", "last/one"},
     {Kind::Flag, "f:x", nullptr, 0},
     {Kind::Text, "12345678", "exactly8"}},
    // The same key from different addresses, around other keys.
    {{Kind::Text, kSlotA, "first"},
     {Kind::Integer, "n", nullptr, 1},
     {Kind::Text, slotWritable, "second"},
     {Kind::Flag, kSlotB, nullptr, 1},
     {Kind::Integer, "n", nullptr, 2}},
    // A null key takes its key from the value.
    {{Kind::Text, nullptr, "key:value"}, {Kind::Integer, "n", nullptr, 2}},
    // Refused: no key at all, and a key over the grammar's limit.
    {{Kind::Integer, "n", nullptr, 1}, {Kind::Text, nullptr, "novalue"}},
    {{Kind::Integer, "n", nullptr, 1},
     {Kind::Text, kLongKey.c_str(), "v"},
     {Kind::Text, nullptr, "x"}},
};

} // namespace

TEST(JsonObjectSink, WritesWhatTheFieldStringsWould)
{
    for (std::size_t i = 0; i < kCases.size(); ++i)
    {
        const Result expected = throughStrings(kCases[i]);
        const Result got = throughSink(kCases[i]);
        EXPECT_EQ(got.status, expected.status) << "case " << i;
        EXPECT_EQ(got.text, expected.status == 0 ? expected.text : "")
            << "case " << i;
    }
}

// Keys written into one reused buffer, as decoders write computed keys:
// each field takes the key its buffer holds at that moment, also across
// objects.
TEST(JsonObjectSink, ReadsAReusedKeyBufferAfresh)
{
    const std::vector<const char*> keys = {"alpha", "al",    "beta",
                                           "alpha", "x/y\t", "al"};
    const auto objectText = [](qvm::JsonObjectSink& sink, auto keyOf)
    {
        sink.reset();
        for (int i = 0; i < 6; ++i)
            sink.integer(keyOf(i), i);
        std::string text;
        EXPECT_EQ(sink.finish(text), 0);
        return text;
    };
    qvm::JsonObjectSink fromLiterals;
    const std::string expected =
        objectText(fromLiterals, [&](int i) { return keys[i]; });
    qvm::JsonObjectSink fromBuffer;
    char buffer[16];
    const auto reused = [&](int i)
    {
        std::snprintf(buffer, sizeof buffer, "%s", keys[i]);
        return static_cast<const char*>(buffer);
    };
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(objectText(fromBuffer, reused), expected);
}

// A long run of objects with computed keys, each new, outgrows the sink's
// memory for keys, which then starts again; constant keys written before
// and after must still be told apart and folded as the field strings are.
TEST(JsonObjectSink, KeepsKeysApartAfterManyComputedKeys)
{
    qvm::JsonObjectSink sink;
    std::vector<std::string> keys(60);
    for (int object = 0; object < 80; ++object)
    {
        std::vector<Field> fields = {{Kind::Integer, "Type", nullptr, object},
                                     {Kind::Text, kSlotA, "a"}};
        for (std::size_t i = 0; i < keys.size(); ++i)
        {
            keys[i] = "computed key " + std::to_string(object) + "/" +
                      std::to_string(i % 40);
            fields.push_back({Kind::Integer, keys[i].c_str(), nullptr,
                              static_cast<std::int64_t>(i)});
        }
        fields.push_back({Kind::Text, kSlotB, "b"});
        fields.push_back({Kind::Integer, "Type", nullptr, -object});
        sink.reset();
        for (const Field& field : fields)
            give(sink, field);
        std::string text;
        ASSERT_EQ(sink.finish(text), 0) << "object " << object;
        ASSERT_EQ(text, throughStrings(fields).text) << "object " << object;
    }
}

// Values written into one reused buffer (a formatted dump header, say):
// each field takes what the buffer holds at that moment.
TEST(JsonObjectSink, ReadsAReusedValueBufferAfresh)
{
    const std::vector<const char*> values = {"one", "", "t/w\"o", "one"};
    const char* const keys[] = {"a", "b", "c", "a"};
    std::vector<Field> literal;
    for (std::size_t i = 0; i < values.size(); ++i)
        literal.push_back({Kind::Text, keys[i], values[i]});
    qvm::JsonObjectSink sink;
    char buffer[16];
    for (int round = 0; round < 2; ++round)
    {
        sink.reset();
        for (std::size_t i = 0; i < values.size(); ++i)
        {
            std::snprintf(buffer, sizeof buffer, "%s", values[i]);
            sink.text(keys[i], buffer);
        }
        std::string text;
        ASSERT_EQ(sink.finish(text), 0);
        EXPECT_EQ(text, throughStrings(literal).text) << "round " << round;
    }
}
