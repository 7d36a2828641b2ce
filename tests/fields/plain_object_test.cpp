// The builder's text written straight from the strings must be the one the
// json-c document gives, byte for byte, or not be written at all.
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "qvmclient.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> out;
    for (auto& s : strings)
        out.push_back(s.data());
    return out;
}

std::string throughDocument(std::vector<std::string> strings)
{
    auto p = pointers(strings);
    char* out = nullptr;
    EXPECT_EQ(make_a_json_string(static_cast<int32_t>(p.size()), p.data(),
                                 nullptr, &out),
              0);
    std::string text = out ? out : "<null>";
    std::free(out);
    return text;
}

std::optional<std::string> direct(std::vector<std::string> strings)
{
    auto p = pointers(strings);
    const auto text =
        qvm::plainObjectText(static_cast<int32_t>(p.size()), p.data());
    if (!text)
        return std::nullopt;
    char* strict = qvm::strictJsonCopy(*text);
    std::string out = strict ? strict : "<null>";
    std::free(strict);
    return out;
}

} // namespace

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
         "d:E:", "d:F:99999999999999999999", "x:G:-99999999999999999999"},
        {"b:T:2", "B:F:0", "b:Word:yes", "s:Colon:a:b:c"},
        // A repeated key keeps its first place and takes its last value.
        {"s:A:1", "d:B:2", "s:A:3", "b:B:1", "s:C:"},
    };
    for (const auto& list : lists)
        EXPECT_EQ(direct(list), throughDocument(list)) << list[0];

    // Long lists, keys repeated out of order: the places and values hold
    // however the keys fall into the hash.
    std::vector<std::string> many;
    for (int i = 0; i < 600; ++i)
        many.push_back("d:" + std::to_string(i * 7 % 250) + ":" +
                       std::to_string(i));
    EXPECT_EQ(direct(many), throughDocument(many));
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
