// Service tag and system name queries.
#include "qvmclient.h"
#include "support/loaded_table.hpp"

#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

using qvmtest::LoadedTable;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

namespace
{

constexpr char kTag[] = "SMBIOSServiceTagString";
constexpr char kName[] = "SMBIOSSystemNameString";

using Query = int64_t (*)(const char*, char**);

// Status and text of a query. The text pointer starts as a sentinel, so
// "left alone" and "set to null" can be told apart.
std::pair<int64_t, std::string> ask(Query query, const char* key)
{
    static char sentinel[] = "untouched";
    char* text = sentinel;
    const int64_t status = query(key, &text);
    std::string out = text == nullptr ? "<null>" : text;
    if (text != sentinel)
        std::free(text);
    return {status, out};
}

StructureBuilder system(uint16_t handle, const char* product,
                        const char* serial)
{
    StructureBuilder s(1, 27, handle);
    s.string(4, "Maker");
    if (product != nullptr)
        s.string(5, product);
    if (serial != nullptr)
        s.string(7, serial);
    return s;
}

StructureBuilder oem(uint16_t handle, std::initializer_list<const char*> texts)
{
    StructureBuilder s(11, 5, handle);
    s.u8(4, static_cast<uint8_t>(texts.size()));
    for (const char* text : texts)
        s.string(text);
    return s;
}

TableBuilder with(std::initializer_list<StructureBuilder> structures)
{
    TableBuilder table;
    for (const auto& s : structures)
        table.add(s);
    return table;
}

struct Case
{
    const char* what;
    TableBuilder table;
    Query query;
    const char* key;
    int64_t status;
    std::string text;
};

} // namespace

TEST(Identity, AnswersAndStatuses)
{
    const auto one = with({system(1, "Server X", "SVC1")});
    const auto two = with({system(1, "A", "S"), system(2, "B", "S")});
    const auto bare = with({system(1, nullptr, nullptr)});
    const Case cases[] = {
        {"tag", one, GetServiceTag, kTag, QVM_RC_SUCCESS, "SVC1"},
        {"tag of two systems", two, GetServiceTag, kTag, QVM_RC_NOT_FOUND,
         "untouched"},
        {"no system", with({StructureBuilder(2, 8, 1)}), GetServiceTag, kTag,
         QVM_RC_NOT_FOUND, "untouched"},
        {"no serial nulls the text", bare, GetServiceTag, kTag,
         QVM_RC_INVALID_REQUEST, "<null>"},
        {"no product nulls the text", bare, GetSystemName, kName,
         QVM_RC_INVALID_REQUEST, "<null>"},
        {"the dispatcher leaves it alone", bare, GetSystemDetails, kTag,
         QVM_RC_INVALID_REQUEST, "untouched"},
        {"name falls back to product", one, GetSystemName, kName,
         QVM_RC_SUCCESS, "Server X"},
        {"name of two systems", two, GetSystemName, kName, QVM_RC_NOT_FOUND,
         "untouched"},
        {"details: tag", one, GetSystemDetails, kTag, QVM_RC_SUCCESS, "SVC1"},
        {"details: name", one, GetSystemDetails, kName, QVM_RC_SUCCESS,
         "Server X"},
        {"details: other key", one, GetSystemDetails, "SMBIOSBIOSInfo",
         QVM_RC_INVALID_REQUEST, "untouched"},
        {"details: null key", one, GetSystemDetails, nullptr, QVM_RC_NOT_FOUND,
         "untouched"},
        {"tag: other key", one, GetServiceTag, kName, QVM_RC_NOT_FOUND,
         "untouched"},
        {"name: null key", one, GetSystemName, nullptr, QVM_RC_NOT_FOUND,
         "untouched"},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        LoadedTable loaded(c.table);
        ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
        const auto [status, text] = ask(c.query, c.key);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(text, c.text);
        // A second call hands out its own copy (the first one was freed).
        EXPECT_EQ(ask(c.query, c.key), std::make_pair(status, text));
        EXPECT_EQ(GetSystemDetails(kTag, nullptr), QVM_RC_INVALID_REQUEST);
    }
    EXPECT_EQ(ask(GetServiceTag, kTag).first, QVM_RC_NOT_FOUND); // no table
}

TEST(Identity, SystemNameFromOemStrings)
{
    const auto product = system(9, "Server X", "S");
    const std::pair<TableBuilder, std::string> cases[] = {
        {with({oem(1, {"9NODE7"}), product}), "NODE7"},
        {with({oem(1, {"1NODE7"}), product}), "Server X"},
        {with({oem(1, {"9"}), product}), ""},
        // The structure at index k is asked for its string k + 1 only.
        {with({oem(1, {"1A"}), oem(2, {"9B", "9NODE7"}), product}), "NODE7"},
        {with({oem(1, {"1A"}), oem(2, {"9B"}), product}), "Server X"},
        // An OEM name needs no single system structure.
        {with({oem(1, {"9N"}), system(2, "A", "S"), system(3, "B", "S")}), "N"},
    };
    for (const auto& [table, name] : cases)
    {
        SCOPED_TRACE(name);
        LoadedTable loaded(table);
        EXPECT_EQ(ask(GetSystemName, kName),
                  std::make_pair(int64_t{QVM_RC_SUCCESS}, name));
    }
}
