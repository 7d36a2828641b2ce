// The builder of JSON texts from field strings. builder.transcript holds
// the lists of field strings and the text or status each gives; its runner
// also holds the direct writer of flat lists to the same bytes.
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/transcript.hpp"

#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using fieldstest::plain;
using fieldstest::unwrapStamped;
namespace transcript = qvmtest::transcript;

namespace
{

struct Result
{
    int32_t rc;
    std::string text;
};

// Runs the builder on copies of strings; also checks that the strings were
// not touched and that out was left alone on failure.
Result build(const std::vector<std::string>& strings,
             const char* name = nullptr)
{
    std::vector<std::string> copies = strings;
    std::vector<char*> pointers;
    for (auto& s : copies)
        pointers.push_back(s.data());
    char marker = 0;
    char* out = &marker;
    const int32_t rc = make_a_json_string(static_cast<int32_t>(pointers.size()),
                                          pointers.data(), name, &out);
    EXPECT_EQ(copies, strings);
    if (rc != 0)
    {
        EXPECT_EQ(out, &marker) << "out written although the call failed";
        return {rc, {}};
    }
    std::string text = out ? out : "<null>";
    std::free(out);
    return {rc, text};
}

// The same list written straight from the strings, made strict as the
// builder's text is; nothing when the direct way declines the list.
std::optional<std::string> direct(std::vector<std::string> strings)
{
    std::vector<char*> pointers;
    for (auto& s : strings)
        pointers.push_back(s.data());
    const auto text = qvm::plainObjectText(
        static_cast<int32_t>(pointers.size()), pointers.data());
    if (!text)
        return std::nullopt;
    char* strict = qvm::strictJsonCopy(*text);
    std::string out = strict ? strict : "<null>";
    std::free(strict);
    return out;
}

// A call line of builder.transcript: the field strings; under it the text,
// line by line, or the status.
std::vector<std::string> builderCall(const std::string& line)
{
    std::istringstream in(line);
    const transcript::Args args(in);
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < args.size(); ++i)
        strings.emplace_back(args.text(i));
    const Result result = build(strings);
    if (result.rc != 0)
        return {"rc " + std::to_string(result.rc)};
    std::vector<std::string> results;
    std::istringstream lines(result.text);
    for (std::string l; std::getline(lines, l);)
        results.push_back(transcript::quoted(l));
    const auto straight = direct(strings);
    if (!straight)
        results.emplace_back("through the document only");
    else if (*straight != result.text)
        results.push_back("direct writer gives " +
                          transcript::quoted(*straight));
    return results;
}

} // namespace

TEST(Builder, Transcript)
{
    EXPECT_EQ(transcript::check(QVM_BUILDER_TRANSCRIPT, builderCall), 0);
}

TEST(Builder, FewerThanTwoStringsOrNoOutIsRefused)
{
    char text[] = "s:A:1";
    char* strings[] = {text, text};
    EXPECT_EQ(make_a_json_string(2, strings, nullptr, nullptr), -1);
    char* out = nullptr;
    EXPECT_EQ(make_a_json_string(-2, strings, nullptr, &out), -1);
    EXPECT_EQ(out, nullptr);
}

// A named text is wrapped after the collection time; a name's ill-formed
// bytes become U+FFFD as a value's do.
TEST(Builder, NamedTextIsWrappedAfterTheCollectionTime)
{
    const std::time_t before = std::time(nullptr);
    const Result result = build({"s:Name:Foo", "d:Size:1"}, "Structure");
    const Result named = build({"s:A:1", "d:B:2"}, "N\xFE");
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(unwrapStamped(result.text, "Collection", before, after),
              R"("Structure" {"Name":"Foo","Size":1})");
    EXPECT_EQ(unwrapStamped(named.text, "Collection", before, after),
              R"("N\xef\xbf\xbd" {"A":"1","B":2})");
}

TEST(FormatData, TakesStringsBeforeCount)
{
    char first[] = "s:Name:Foo";
    char second[] = "x:Mask:10";
    char* strings[] = {first, second};
    char* out = nullptr;
    ASSERT_EQ(QVM_FormatData(strings, 2, nullptr, &out), 0);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(plain(out), R"({"Name":"Foo","Mask":16})");
    std::free(out);

    out = nullptr;
    EXPECT_EQ(QVM_FormatData(nullptr, 2, nullptr, &out), 3);
    EXPECT_EQ(QVM_FormatData(strings, 0, nullptr, &out), 3);
    // Everything else is the builder's own answer.
    EXPECT_EQ(QVM_FormatData(strings, 1, nullptr, &out), -1);
    char bad[] = "q:Key:1";
    strings[1] = bad;
    EXPECT_EQ(QVM_FormatData(strings, 2, "Name", &out), -5);
    EXPECT_EQ(out, nullptr);
}

// Flat lists are also written straight from the strings: the same bytes as
// through the document, for every byte and however keys fall into the hash
// (builder.transcript holds the rest).
TEST(PlainObject, SameBytesAsTheDocument)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte.push_back(static_cast<char>(c));
    std::string keyBytes = everyByte;
    std::erase(keyBytes, ':');
    const std::vector<std::string> list = {
        "s:Text:" + everyByte, "s:" + keyBytes.substr(0, 127) + ":x",
        "s:" + keyBytes.substr(127) + ":y"};
    EXPECT_EQ(direct(list), build(list).text);

    // Long lists, keys repeated out of order: the places and values hold
    // however the keys fall into the hash.
    std::vector<std::string> many;
    for (int i = 0; i < 600; ++i)
        many.push_back("d:" + std::to_string(i * 7 % 250) + ":" +
                       std::to_string(i));
    EXPECT_EQ(direct(many), build(many).text);
}
