// What documents.transcript cannot show: missing arguments, outputs left
// alone, and the caller's document kept with its one reference.
#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/loaded_table.hpp"

#include <gtest/gtest.h>
#include <string>

TEST(JsonDocument, MissingArgumentsLeaveOutputsAndTheDocumentAlone)
{
    const std::string text = R"({"k": [1, 2]})";
    const qvmtest::TempFile file(qvmtest::Bytes(text.begin(), text.end()));
    json_object* doc = nullptr;
    ASSERT_EQ(readJSONdoc(file.path().c_str(), &doc), 0);
    json_object* const marker = doc;
    EXPECT_EQ(readJSONdoc("/nonexistent/qvm/file.json", &doc), -1);
    EXPECT_EQ(readJSONdoc(nullptr, &doc), -1);
    EXPECT_EQ(doc, marker);
    EXPECT_EQ(readJSONdoc(file.path().c_str(), nullptr), -1);

    // The texts are the caller's own copies.
    char* out = nullptr;
    ASSERT_EQ(makeJSONstringFromDoc(doc, &out), 0);
    EXPECT_NE(out, json_object_to_json_string_ext(doc, 3));
    std::free(out);
    ASSERT_EQ(makeJSONstringFromDocWithTimeStamp(doc, "N", &out), 0);
    std::free(out);
    char marked = 0;
    out = &marked;
    EXPECT_EQ(makeJSONstringFromDoc(nullptr, &out), 3);
    EXPECT_EQ(makeJSONstringFromDoc(doc, nullptr), 3);
    EXPECT_EQ(makeJSONstringFromDocWithTimeStamp(nullptr, "N", &out), 3);
    EXPECT_EQ(makeJSONstringFromDocWithTimeStamp(doc, "N", nullptr), 3);
    EXPECT_EQ(out, &marked);
    EXPECT_EQ(getBIOSDataFromJSON(doc, nullptr), 3);
    EXPECT_EQ(fieldstest::plain(doc), R"({"k":[1,2]})");
    EXPECT_EQ(json_object_put(doc), 1);
}
