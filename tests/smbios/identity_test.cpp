// Service tag and system name queries.
#include "qvmclient.h"
#include "support/table_builder.hpp"

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

struct Answer
{
    int64_t status;
    std::string text;
};

// Calls a query with a sentinel in the text pointer, so that "left alone"
// and "set to null" can be told apart.
template <typename Query> Answer ask(Query query, const char* key)
{
    static char sentinel[] = "untouched";
    char* text = sentinel;
    const int64_t status = query(key, &text);
    Answer answer{status, text == nullptr ? "<null>" : text};
    if (text != sentinel)
        std::free(text);
    return answer;
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

StructureBuilder oemStrings(uint16_t handle,
                            std::initializer_list<const char*> strings)
{
    StructureBuilder s(11, 5, handle);
    s.u8(4, static_cast<uint8_t>(strings.size()));
    for (const char* text : strings)
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

} // namespace

TEST(ServiceTag, IsTheSerialNumberOfTheOnlySystemStructure)
{
    LoadedTable loaded(with({system(1, "Server X", "SVC1234")}));
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    const auto answer = ask(GetServiceTag, kTag);
    EXPECT_EQ(answer.status, QVM_RC_SUCCESS);
    EXPECT_EQ(answer.text, "SVC1234");

    // Each call hands out its own copy; the table is not touched.
    char* first = nullptr;
    char* second = nullptr;
    ASSERT_EQ(GetServiceTag(kTag, &first), QVM_RC_SUCCESS);
    ASSERT_EQ(GetSystemDetails(kTag, &second), QVM_RC_SUCCESS);
    EXPECT_NE(first, second);
    std::free(first);
    EXPECT_STREQ(second, "SVC1234");
    std::free(second);
    EXPECT_EQ(ask(GetServiceTag, kTag).text, "SVC1234");
}

TEST(ServiceTag, StatusTable)
{
    {
        LoadedTable loaded(with({system(1, "P", "S"), system(2, "P", "S")}));
        EXPECT_EQ(ask(GetServiceTag, kTag).status, QVM_RC_NOT_FOUND);
        EXPECT_EQ(ask(GetSystemDetails, kTag).status, QVM_RC_NOT_FOUND);
    }
    {
        LoadedTable loaded(with({system(1, "P", nullptr)}));
        // A missing serial number nulls the text pointer here...
        EXPECT_EQ(ask(GetServiceTag, kTag).status, QVM_RC_INVALID_REQUEST);
        EXPECT_EQ(ask(GetServiceTag, kTag).text, "<null>");
        // ...but the dispatcher leaves the caller's pointer alone.
        const auto details = ask(GetSystemDetails, kTag);
        EXPECT_EQ(details.status, QVM_RC_INVALID_REQUEST);
        EXPECT_EQ(details.text, "untouched");

        EXPECT_EQ(ask(GetServiceTag, kName).status, QVM_RC_NOT_FOUND);
        EXPECT_EQ(ask(GetServiceTag, nullptr).status, QVM_RC_NOT_FOUND);
        EXPECT_EQ(ask(GetServiceTag, kName).text, "untouched");
    }
    LoadedTable none(with({StructureBuilder(2, 8, 1)}));
    EXPECT_EQ(ask(GetServiceTag, kTag).status, QVM_RC_NOT_FOUND);
    SmbiosCleanup();
    EXPECT_EQ(ask(GetServiceTag, kTag).status, QVM_RC_NOT_FOUND);
}

TEST(SystemName, ComesFromTheFirstOemStringMarkedNine)
{
    {
        LoadedTable loaded(
            with({oemStrings(1, {"9NODE7"}), system(2, "Server X", "S")}));
        EXPECT_EQ(ask(GetSystemName, kName).text, "NODE7");
        EXPECT_EQ(ask(GetSystemDetails, kName).text, "NODE7");
    }
    {
        LoadedTable loaded(with({oemStrings(1, {"9"}), system(2, "X", "S")}));
        const auto answer = ask(GetSystemName, kName);
        EXPECT_EQ(answer.status, QVM_RC_SUCCESS);
        EXPECT_EQ(answer.text, "");
    }
    // The structure at index k is asked for its string k + 1 only.
    LoadedTable loaded(
        with({oemStrings(1, {"1A"}), oemStrings(2, {"9B", "9NODE7"}),
              system(3, "Server X", "S")}));
    EXPECT_EQ(ask(GetSystemName, kName).text, "NODE7");
}

TEST(SystemName, FallsBackToTheProductName)
{
    {
        LoadedTable loaded(
            with({oemStrings(1, {"1NODE7"}), system(2, "Server X", "S")}));
        EXPECT_EQ(ask(GetSystemName, kName).text, "Server X");
    }
    {
        // The second OEM structure's first string is never looked at.
        LoadedTable loaded(with({oemStrings(1, {"1A"}), oemStrings(2, {"9B"}),
                                 system(3, "Server X", "S")}));
        EXPECT_EQ(ask(GetSystemName, kName).text, "Server X");
    }
    {
        LoadedTable loaded(with({system(1, nullptr, "S")}));
        const auto answer = ask(GetSystemName, kName);
        EXPECT_EQ(answer.status, QVM_RC_INVALID_REQUEST);
        EXPECT_EQ(answer.text, "<null>");
    }
    {
        LoadedTable loaded(with({system(1, "A", "S"), system(2, "B", "S")}));
        EXPECT_EQ(ask(GetSystemName, kName).status, QVM_RC_NOT_FOUND);
    }
    LoadedTable loaded(with(
        {oemStrings(1, {"9N"}), system(1, "A", "S"), system(2, "B", "S")}));
    EXPECT_EQ(ask(GetSystemName, kName).text, "N");
}

TEST(SystemDetails, DispatchesOnTheKey)
{
    LoadedTable loaded(with({system(1, "Server X", "SVC1")}));
    EXPECT_EQ(ask(GetSystemDetails, kTag).text, "SVC1");
    EXPECT_EQ(ask(GetSystemDetails, kName).text, "Server X");
    EXPECT_EQ(ask(GetSystemDetails, "SMBIOSBIOSInfo").status,
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(ask(GetSystemDetails, nullptr).status, QVM_RC_NOT_FOUND);
    EXPECT_EQ(ask(GetSystemName, kTag).status, QVM_RC_NOT_FOUND);
    EXPECT_EQ(GetSystemDetails(kTag, nullptr), QVM_RC_INVALID_REQUEST);
}
