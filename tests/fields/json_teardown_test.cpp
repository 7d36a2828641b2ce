#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/log_capture.hpp"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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
        std::vector<std::string> trace;
    };
    const Case cases[] = {
        {R"({"a": 1, "b": "x", "c": null})",
         0,
         "{}",
         {"Free Jobtype 4\n", "Object processing\n", "Object type 3 delete a\n",
          "Object type 6 delete b\n", "Object type 0 delete c\n",
          "Exit  return 0 \n"}},
        // An array gives up only its last element. Elements are visited last
        // first; a null one reports the null document's code and the walk
        // goes on.
        {R"([null, "x", 3])",
         0,
         R"([null,"x"])",
         {"Free Jobtype 5\n", "Array delete 3\n", "Array delete index 2\n",
          "Free Jobtype 3\n", "Delete thing - 3\n", "Exit  return 0 \n",
          "Array delete index 1\n", "Free Jobtype 6\n", "Delete thing - 6\n",
          "Exit  return 0 \n", "Array delete index 0\n",
          "nested delete return 3\n", "Array delete save idx 2\n",
          "Exit  return 0 \n"}},
        // An empty array fails, and stays in its parent.
        {"[]",
         -1,
         "[]",
         {"Free Jobtype 5\n", "Array delete 0\n", "Array delete save idx -1\n",
          "Exit  return -1 \n"}},
        {R"({"e": []})",
         0,
         R"({"e":[]})",
         {"Free Jobtype 4\n", "Object processing\n",
          "Recursive call for job type 5\n", "Free Jobtype 5\n",
          "Array delete 0\n", "Array delete save idx -1\n",
          "Exit  return -1 \n", "Exit  return 0 \n"}},
        // Nested containers are emptied, then removed.
        {R"({"o": {"k": true}, "a": [[1]]})",
         0,
         "{}",
         {"Free Jobtype 4\n",
          "Object processing\n",
          "Recursive call for job type 4\n",
          "Free Jobtype 4\n",
          "Object processing\n",
          "Object type 1 delete k\n",
          "Exit  return 0 \n",
          "delete after nested return o\n",
          "Recursive call for job type 5\n",
          "Free Jobtype 5\n",
          "Array delete 1\n",
          "Array delete index 0\n",
          "Free Jobtype 5\n",
          "Array delete 1\n",
          "Array delete index 0\n",
          "Free Jobtype 3\n",
          "Delete thing - 3\n",
          "Exit  return 0 \n",
          "Array delete save idx 0\n",
          "Exit  return 0 \n",
          "Array delete save idx 0\n",
          "Exit  return 0 \n",
          "delete after nested return a\n",
          "Exit  return 0 \n"}},
        // A scalar document is left alone.
        {R"("text")",
         0,
         R"("text")",
         {"Free Jobtype 6\n", "Delete thing - 6\n", "Exit  return 0 \n"}},
    };
    for (const auto& c : cases)
    {
        json_object* doc = json_tokener_parse(c.text);
        ASSERT_NE(doc, nullptr) << c.text;
        LogCapture log;
        EXPECT_EQ(freeNestedJSONObjects(doc), c.rc) << c.text;
        EXPECT_EQ(plain(doc), c.left);
        EXPECT_EQ(log.texts(), c.trace) << c.text;
        for (const auto& line : log.lines())
        {
            EXPECT_EQ(line.facility, 24) << line.text;
            EXPECT_EQ(line.priority, 7) << line.text;
        }
        json_object_put(doc);
    }
    LogCapture log;
    EXPECT_EQ(freeNestedJSONObjects(nullptr), 3);
    EXPECT_TRUE(log.lines().empty());
}
