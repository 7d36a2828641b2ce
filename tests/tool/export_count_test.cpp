// The export check's reader: counts per type, and nothing for any text
// that is not one whole strict JSON array.
#include "export_count.hpp"

#include <gtest/gtest.h>
#include <string>

using qvmcli::countExport;

TEST(ExportCount, GroupsCountUnderTheTypeOfTheirFirstObject)
{
    const auto count = countExport(
        " [[{\"Table Type\": 4, \"Id\": [1, -2.5e+3, true, null]},\n"
        "   {\"Table Type\": 9}],\n"
        "  [{\"Name\": \"a\\\"\\u00e9\\/\", \"Table Type\": 17}], [],\n"
        "  [{\"Table Type\": \"7\"}, 3]] ");
    ASSERT_TRUE(count);
    EXPECT_EQ(count->total, 5U);
    EXPECT_EQ(count->byType[4], 2U);
    EXPECT_EQ(count->byType[17], 1U);
    EXPECT_EQ(count->byType[7], 0U); // a text is no type
    EXPECT_EQ(count->byType[9], 0U);
    EXPECT_TRUE(countExport("[]"));
}

TEST(ExportCount, AnythingButOneWholeStrictArrayIsRefused)
{
    const std::string whole = "[[{\"Table Type\": 1, \"S\": \"x\\ty\"}]]";
    for (std::size_t cut = 0; cut < whole.size(); ++cut)
        EXPECT_FALSE(countExport(whole.substr(0, cut))) << cut;
    for (const char* text :
         {"[[]] x", "[[]][]", "{}", "[1,]", "[01]", "[1.]", "[1e]", "[-]",
          "[\"\\x\"]", "[\"\\u12G4\"]", "[\"a\nb\"]", "[tru]", "[NaN]",
          "[{\"a\" 1}]", "[{1: 2}]", "[[{\"Table Type\": 01}]]"})
        EXPECT_FALSE(countExport(text)) << text;
    EXPECT_FALSE(countExport(std::string(100, '[') + std::string(100, ']')));
}
