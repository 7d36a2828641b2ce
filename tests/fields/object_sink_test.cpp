// The JSON sink against the field strings of the same fields: for each set
// of fields in sink.transcript, the sink's text (or refusal) must be what
// make_a_json_string gives for the strings a TaggedSink makes of them.
#include "capi/tagged_sink.hpp"
#include "fields/field_list.hpp"
#include "fields/json_object_sink.hpp"
#include "qvmclient.h"
#include "support/golden.hpp"

#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace
{

namespace transcript = qvmtest::transcript;

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

// One key text at three addresses: two constant arrays (never merged, as
// literals may be) and writable memory.
constexpr char kSlotA[] = "Slot";
constexpr char kSlotB[] = "Slot";
char slotWritable[] = "Slot";

// A call line of sink.transcript: fields as KIND KEY VALUE, KIND one of
// integer, weight, text and flag; under it the sink's status and text, and
// what the field strings give where that differs.
std::vector<std::string> replay(const std::string& line)
{
    std::istringstream in(line);
    const transcript::Args a(in);
    std::vector<Field> fields;
    for (std::size_t i = 0; i + 2 < a.size(); i += 3)
    {
        const std::string kind = a.text(i);
        Field field{kind == "integer"  ? Kind::Integer
                    : kind == "weight" ? Kind::Weight
                    : kind == "text"   ? Kind::Text
                                       : Kind::Flag,
                    a.text(i + 1)};
        if (field.kind == Kind::Text)
            field.text = a.text(i + 2);
        else
            field.number = a.number(i + 2);
        fields.push_back(field);
    }
    const Result expected = throughStrings(fields);
    const Result got = throughSink(fields);
    std::vector<std::string> out{"status " + std::to_string(got.status)};
    for (const auto& l : transcript::splitLines(got.text))
        out.push_back(transcript::quoted(l));
    if (got.status != expected.status ||
        got.text != (expected.status == 0 ? expected.text : ""))
        out.push_back("field strings give " + std::to_string(expected.status) +
                      " " + transcript::quoted(expected.text));
    return out;
}

} // namespace

TEST(JsonObjectSink, WritesWhatTheFieldStringsWould)
{
    qvmtest::expectTranscript(QVM_SINK_TRANSCRIPT, replay);
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

// The same key from the three addresses, around other keys, is one key.
TEST(JsonObjectSink, OneKeyFromThreeAddresses)
{
    const std::vector<Field> fields = {{Kind::Text, kSlotA, "first"},
                                       {Kind::Integer, "n", nullptr, 1},
                                       {Kind::Text, slotWritable, "second"},
                                       {Kind::Flag, kSlotB, nullptr, 1},
                                       {Kind::Integer, "n", nullptr, 2}};
    const Result expected = throughStrings(fields);
    const Result got = throughSink(fields);
    EXPECT_EQ(got.status, expected.status);
    EXPECT_EQ(got.text, expected.text);
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
