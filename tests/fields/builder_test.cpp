#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "fields_support.hpp"
#include "qvmclient.h"

#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using fieldstest::plain;
using fieldstest::unwrapStamped;

namespace
{

struct Result
{
    int32_t rc;
    std::string text;
};

// Runs the builder on copies of strings; on failure also checks that out
// was left alone and that the strings were not touched.
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

// The object built from strings, written plain.
std::string object(std::vector<std::string> strings)
{
    const Result result = build(strings);
    EXPECT_EQ(result.rc, 0);
    return plain(result.text);
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

const std::string kOk = "s:Ok:1";

} // namespace

TEST(Builder, FewerThanTwoStringsOrNoOutIsRefused)
{
    EXPECT_EQ(build({}).rc, -1);
    EXPECT_EQ(build({"q"}).rc, -1); // count is checked before any string
    char text[] = "s:A:1";
    char* strings[] = {text, text};
    EXPECT_EQ(make_a_json_string(2, strings, nullptr, nullptr), -1);
    char* out = nullptr;
    EXPECT_EQ(make_a_json_string(-2, strings, nullptr, &out), -1);
    EXPECT_EQ(out, nullptr);
}

TEST(Builder, BadStringsGiveTheCodeOfTheirFirstFailedCheck)
{
    const std::string longTag(16, 's');
    const std::string longKey(128, 'k');
    const std::pair<std::string, int32_t> cases[] = {
        {"s:True", -3},
        {"ad:List:{7}", -3},
        {"ad:List:{1,2,}", -3},
        {"as:List:}1,2{", -3},
        {"ad:List:1,2", -3},
        {"ab:List:{,}", -3},
        {"s:" + longKey + ":1", -4},
        {":Key:1", -5},
        {std::string(15, 'q') + ":Key:1", -5},
        // Tag length, then the tag, then the second colon, then the key's
        // length, then the array text.
        {longTag + ":Key", -4},
        {"q:NoSecondColon", -5},
        {"ad:" + longKey + ":{1}", -4},
    };
    for (const auto& [text, code] : cases)
        EXPECT_EQ(build({kOk, text}).rc, code) << text;
    EXPECT_EQ(build({kOk, "s:" + std::string(127, 'k') + ":1"}).rc, 0);
    // The first bad string decides, even after valid ones.
    EXPECT_EQ(build({"s:A:1", "d:B:2", "s:C", "q:D:4"}).rc, -3);
    EXPECT_EQ(build({"s:A:1", "d:B:2", "q:D:4", "s:C"}).rc, -5);
}

// Each tag gives its JSON type; a repeated key keeps its first place and
// its last value.
TEST(Builder, TagsGiveTheirJsonTypes)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"s:Empty:", "S:Upper:Bar", "s:Note:a:b"},
         R"({"Empty":"NULL","Upper":"Bar","Note":"a:b"})"},
        {{"d:Size:0x10", "d:Big:-7", "D:Space: 42", "d:Colon::5",
          "d:Huge:99999999999999999999", "d:Words:abc"},
         R"({"Size":0,"Big":-7,"Space":42,"Colon":0,)"
         R"("Huge":9223372036854775807,"Words":0})"},
        {{"x:Prefixed:0x1F", "X:Neg:-ff", "x:Huge:DEADDEADDEADDEAD"},
         R"({"Prefixed":31,"Neg":-255,"Huge":9223372036854775807})"},
        {{"b:One:1", "b:Word:true", "b:Zero:0", "B:Neg:-3"},
         R"({"One":true,"Word":false,"Zero":false,"Neg":true})"},
        {{"f:Volts:1.25", "F:Sci:-5e-1", "f:None:x"},
         R"({"Volts":1.25,"Sci":-0.5,"None":0.0})"},
        {{"ad:List:{1,2,3}", "AD:Up:{-1,+2}", "ad:Gap:{,5}",
          "ad:Framed:pre{1,2}post"},
         R"({"List":[1,2,3],"Up":[-1,2],"Gap":[0,5],"Framed":[1,2]})"},
        {{"ax:Hex:{ff,0x1}", "aB:Words:{true,7}", "af:F:{1.5,-2}",
          "as:Names:{, b}"},
         R"({"Hex":[255,1],"Words":[false,true],"F":[1.5,-2.0],)"
         R"("Names":[""," b"]})"},
        // Array elements end at the next comma anywhere; only the last one
        // stops at a "}". With a "," after the closing "}" no brace is left
        // for the last element: it takes the rest.
        {{"as:S:{a}b,c}", "as:Colon:{a:b,c:d}x"},
         R"({"S":["a}b","c"],"Colon":["a:b","c:d"]})"},
        {{"ad:Tail:{1,2},3", "as:Open:{a,b},", "as:T:{a,b}x,y"},
         R"({"Tail":[1,2,3],"Open":["a","b}",""],"T":["a","b}x","y"]})"},
        {{"d:A:1", "s:B:x", "s:A:2"}, R"({"A":"2","B":"x"})"},
    };
    for (const auto& [strings, expected] : cases)
        EXPECT_EQ(object(strings), expected);
}

TEST(Builder, TextIsPrettyAndANamedOneWrappedAfterTheCollectionTime)
{
    EXPECT_EQ(build({"s:Name:Foo", "ad:List:{1,2}"}).text,
              "{\n  \"Name\": \"Foo\",\n  \"List\": [\n    1,\n    2\n  ]\n}");
    // Escaped quotes stay inside their string, words in it stay words.
    EXPECT_EQ(
        build({"s:quote:say \"hi\" now", "s:word:say \"NaN\" \xC3\xA9"}).text,
        "{\n  \"quote\": \"say \\\"hi\\\" now\",\n"
        "  \"word\": \"say \\\"NaN\\\" \xC3\xA9\"\n}");
    const std::time_t before = std::time(nullptr);
    const Result result = build({"s:Name:Foo", "d:Size:1"}, "Structure");
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(
        unwrapStamped(result.text, "Collection", "Structure", before, after),
        R"({"Name":"Foo","Size":1})");
}

// Field strings carry host bytes; the text out is strict JSON whatever they
// hold. Each maximal ill-formed subpart becomes one U+FFFD (the first value
// is the Unicode standard's own example), in values, keys and names alike;
// valid UTF-8 stays as it is.
TEST(Builder, InvalidUtf8BecomesOneReplacementPerMaximalSubpart)
{
    const auto fffd = [](int n)
    {
        std::string text;
        while (n-- > 0)
            text += "\xEF\xBF\xBD";
        return text;
    };
    EXPECT_EQ(object({"s:K\xFF:a\xF1\x80\x80\xE1\x80\xC2"
                      "b\x80"
                      "c\x80\xBF"
                      "d",
                      "as:L:{\xED\xA0\x80,\xC0\xAF,\xF4\x90\x80\x80,x\xE2\x82}",
                      "s:Valid:\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD"}),
              "{\"K" + fffd(1) + "\":\"a" + fffd(3) + "b" + fffd(1) + "c" +
                  fffd(2) + "d\",\"L\":[\"" + fffd(3) + "\",\"" + fffd(2) +
                  "\",\"" + fffd(4) + "\",\"x" + fffd(1) +
                  "\"],\"Valid\":\"\xC3\xA9\xF0\x9F\x98\x80\xEF\xBF\xBD\"}");

    const std::time_t before = std::time(nullptr);
    const Result named = build({"s:A:1", "d:B:2"}, "N\xFE");
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(unwrapStamped(named.text, "Collection", ("N" + fffd(1)).c_str(),
                            before, after),
              R"({"A":"1","B":2})");
}

// JSON has no NaN or Infinity: a double that is not finite is null.
TEST(Builder, NonFiniteDoublesAreNull)
{
    EXPECT_EQ(object({"f:N:nan", "f:I:inf", "F:M:-Infinity",
                      "af:A:{1e999,-1e999,1.5}", "f:Tiny:1e-400"}),
              R"({"N":null,"I":null,"M":null,"A":[null,null,1.5],)"
              R"("Tiny":0.0})");
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
// through the document, or not at all.
TEST(PlainObject, SameBytesAsTheDocument)
{
    std::string everyByte;
    for (int c = 1; c < 256; ++c)
        everyByte.push_back(static_cast<char>(c));
    std::string keyBytes = everyByte;
    std::erase(keyBytes, ':');
    const std::vector<std::vector<std::string>> lists = {
        {"s:Text:" + everyByte, "s:" + keyBytes.substr(0, 127) + ":x",
         "s:" + keyBytes.substr(127) + ":y", "s:Empty:"},
        {"d:A:12abc", "D:B:-7", "x:C:-0x1F", "X:D:ff",
         "d:E:", "d:F:99999999999999999999", "x:G:-99999999999999999999",
         "d:H:-9223372036854775808", "d:I:0"},
        {"b:T:2", "B:F:0", "b:Word:yes", "s:Colon:a:b:c"},
        // A repeated key keeps its first place and takes its last value.
        {"s:A:1", "d:B:2", "s:A:3", "b:B:1", "s:C:"},
    };
    for (const auto& list : lists)
        EXPECT_EQ(direct(list), build(list).text) << list[0];

    // Long lists, keys repeated out of order: the places and values hold
    // however the keys fall into the hash.
    std::vector<std::string> many;
    for (int i = 0; i < 600; ++i)
        many.push_back("d:" + std::to_string(i * 7 % 250) + ":" +
                       std::to_string(i));
    EXPECT_EQ(direct(many), build(many).text);
}

TEST(PlainObject, ArraysDoublesAndBadStringsTakeTheDocumentsWay)
{
    const std::vector<std::vector<std::string>> lists = {
        {"s:A:1", "ad:B:{1,2}"},
        {"s:A:1", "f:B:1.5"},
        {"s:A:1", "q:B:1"},
        {"s:A:1", "no colon"},
        {"s:A:1"},
    };
    for (const auto& list : lists)
        EXPECT_FALSE(direct(list)) << list.back();
}
