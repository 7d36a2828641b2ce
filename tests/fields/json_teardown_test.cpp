#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>
#include <string>

using fieldstest::plain;
using qvmtest::LogCapture;

// Takes apart the document parsed from text: the code, the document
// afterwards (written plain) and the trace, every line a daemon debug line.
TEST(FreeNested, ContainersAreEmptiedAndTraced)
{
    struct Case
    {
        const char* text;
        int32_t rc;
        const char* left;
        std::string trace; // the lines one after the other
    };
    const Case cases[] = {
        {R"({"a": 1, "b": "x", "c": null})", 0, "{}",
         "Free Jobtype 4\nObject processing\nObject type 3 delete a\nObject "
         "type 6 delete b\nObject type 0 delete c\nExit  return 0 \n"},
        // An array gives up only its last element. Elements are visited last
        // first; a null one reports the null document's code and the walk
        // goes on.
        {R"([null, "x", 3])", 0, R"([null,"x"])",
         "Free Jobtype 5\nArray delete 3\nArray delete index 2\nFree Jobtype "
         "3\nDelete thing - 3\nExit  return 0 \nArray delete index 1\nFree "
         "Jobtype 6\nDelete thing - 6\nExit  return 0 \nArray delete index "
         "0\nnested delete return 3\nArray delete save idx 2\nExit  return 0 "
         "\n"},
        // An empty array fails, and stays in its parent.
        {"[]", -1, "[]",
         "Free Jobtype 5\nArray delete 0\nArray delete save idx -1\nExit  "
         "return -1 \n"},
        {R"({"e": []})", 0, R"({"e":[]})",
         "Free Jobtype 4\nObject processing\nRecursive call for job type "
         "5\nFree Jobtype 5\nArray delete 0\nArray delete save idx -1\nExit  "
         "return -1 \nExit  return 0 \n"},
        // Nested containers are emptied, then removed.
        {R"({"o": {"k": true}, "a": [[1]]})", 0, "{}",
         "Free Jobtype 4\nObject processing\nRecursive call for job type "
         "4\nFree Jobtype 4\nObject processing\nObject type 1 delete k\nExit  "
         "return 0 \ndelete after nested return o\nRecursive call for job type "
         "5\nFree Jobtype 5\nArray delete 1\nArray delete index 0\nFree "
         "Jobtype 5\nArray delete 1\nArray delete index 0\nFree Jobtype "
         "3\nDelete thing - 3\nExit  return 0 \nArray delete save idx 0\nExit  "
         "return 0 \nArray delete save idx 0\nExit  return 0 \ndelete after "
         "nested return a\nExit  return 0 \n"},
        // A scalar document is left alone.
        {R"("text")", 0, R"("text")",
         "Free Jobtype 6\nDelete thing - 6\nExit  return 0 \n"},
    };
    for (const auto& c : cases)
    {
        json_object* doc = json_tokener_parse(c.text);
        ASSERT_NE(doc, nullptr) << c.text;
        LogCapture log;
        EXPECT_EQ(freeNestedJSONObjects(doc), c.rc) << c.text;
        EXPECT_EQ(plain(doc), c.left);
        std::string trace;
        for (const auto& line : log.lines())
        {
            trace += line.text;
            EXPECT_EQ(line.facility, 24) << line.text;
            EXPECT_EQ(line.priority, 7) << line.text;
        }
        EXPECT_EQ(trace, c.trace) << c.text;
        json_object_put(doc);
    }
    LogCapture log;
    EXPECT_EQ(freeNestedJSONObjects(nullptr), 3);
    EXPECT_TRUE(log.lines().empty());
}
