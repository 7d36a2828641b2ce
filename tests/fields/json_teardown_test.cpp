#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using fieldstest::plain;
using qvmtest::LogCapture;
using testing::ElementsAre;

namespace
{

struct Teardown
{
    int32_t rc;
    std::string left; // the document afterwards, written plain
    std::vector<std::string> trace;
};

// Takes apart the document parsed from text; every trace line must be a
// daemon debug line.
Teardown teardown(const char* text)
{
    json_object* doc = json_tokener_parse(text);
    EXPECT_NE(doc, nullptr) << text;
    LogCapture log;
    const int32_t rc = freeNestedJSONObjects(doc);
    Teardown result{rc, plain(doc), log.texts()};
    for (const auto& line : log.lines())
    {
        EXPECT_EQ(line.facility, 24) << line.text;
        EXPECT_EQ(line.priority, 7) << line.text;
    }
    json_object_put(doc);
    return result;
}

} // namespace

TEST(FreeNested, ScalarMembersAreRemoved)
{
    const auto result = teardown(R"({"a": 1, "b": "x", "c": null})");
    EXPECT_EQ(result.rc, 0);
    EXPECT_EQ(result.left, "{}");
    EXPECT_THAT(result.trace,
                ElementsAre("Free Jobtype 4\n", "Object processing\n",
                            "Object type 3 delete a\n",
                            "Object type 6 delete b\n",
                            "Object type 0 delete c\n", "Exit  return 0 \n"));
}

TEST(FreeNested, ArrayGivesUpOnlyItsLastElement)
{
    // Elements are visited last first; a null one reports the null
    // document's code and the walk goes on.
    const auto result = teardown(R"([null, "x", 3])");
    EXPECT_EQ(result.rc, 0);
    EXPECT_EQ(result.left, R"([null,"x"])");
    EXPECT_THAT(result.trace,
                ElementsAre("Free Jobtype 5\n", "Array delete 3\n",
                            "Array delete index 2\n", "Free Jobtype 3\n",
                            "Delete thing - 3\n", "Exit  return 0 \n",
                            "Array delete index 1\n", "Free Jobtype 6\n",
                            "Delete thing - 6\n", "Exit  return 0 \n",
                            "Array delete index 0\n",
                            "nested delete return 3\n",
                            "Array delete save idx 2\n", "Exit  return 0 \n"));
}

TEST(FreeNested, EmptyArrayFailsAndStaysInItsParent)
{
    const auto empty = teardown("[]");
    EXPECT_EQ(empty.rc, -1);
    EXPECT_THAT(empty.trace, ElementsAre("Free Jobtype 5\n", "Array delete 0\n",
                                         "Array delete save idx -1\n",
                                         "Exit  return -1 \n"));

    const auto nested = teardown(R"({"e": []})");
    EXPECT_EQ(nested.rc, 0);
    EXPECT_EQ(nested.left, R"({"e":[]})");
    EXPECT_THAT(nested.trace,
                ElementsAre("Free Jobtype 4\n", "Object processing\n",
                            "Recursive call for job type 5\n",
                            "Free Jobtype 5\n", "Array delete 0\n",
                            "Array delete save idx -1\n", "Exit  return -1 \n",
                            "Exit  return 0 \n"));
}

TEST(FreeNested, NestedContainersAreEmptiedThenRemoved)
{
    const auto result = teardown(R"({"o": {"k": true}, "a": [[1]]})");
    EXPECT_EQ(result.rc, 0);
    EXPECT_EQ(result.left, "{}");
    EXPECT_THAT(
        result.trace,
        ElementsAre("Free Jobtype 4\n", "Object processing\n",
                    "Recursive call for job type 4\n", "Free Jobtype 4\n",
                    "Object processing\n", "Object type 1 delete k\n",
                    "Exit  return 0 \n", "delete after nested return o\n",
                    "Recursive call for job type 5\n", "Free Jobtype 5\n",
                    "Array delete 1\n", "Array delete index 0\n",
                    "Free Jobtype 5\n", "Array delete 1\n",
                    "Array delete index 0\n", "Free Jobtype 3\n",
                    "Delete thing - 3\n", "Exit  return 0 \n",
                    "Array delete save idx 0\n", "Exit  return 0 \n",
                    "Array delete save idx 0\n", "Exit  return 0 \n",
                    "delete after nested return a\n", "Exit  return 0 \n"));
}

TEST(FreeNested, ScalarDocumentIsLeftAlone)
{
    const auto result = teardown(R"("text")");
    EXPECT_EQ(result.rc, 0);
    EXPECT_EQ(result.left, R"("text")");
    EXPECT_THAT(result.trace,
                ElementsAre("Free Jobtype 6\n", "Delete thing - 6\n",
                            "Exit  return 0 \n"));

    LogCapture log;
    EXPECT_EQ(freeNestedJSONObjects(nullptr), 3);
    EXPECT_TRUE(log.lines().empty());
}
