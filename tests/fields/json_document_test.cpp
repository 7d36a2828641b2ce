#include "common/handles.hpp"
#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/loaded_table.hpp"
#include "support/log_capture.hpp"

#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

using fieldstest::plain;
using fieldstest::unwrapStamped;
using qvmtest::LogCapture;
using testing::ElementsAre;

namespace
{

// A temporary file holding text.
qvmtest::TempFile tempFile(std::string_view text)
{
    return qvmtest::TempFile(qvmtest::Bytes(text.begin(), text.end()));
}

json_object* parse(const char* text)
{
    json_object* doc = json_tokener_parse(text);
    EXPECT_NE(doc, nullptr) << text;
    return doc;
}

// A BIOS configuration document holding attrs as its attribute list.
std::string configuration(const std::string& attrs)
{
    return R"({"Other": 1, "SystemConfiguration": {"Components": [)"
           R"({"Attributes": [)" +
           attrs + "]}]}}";
}

const std::string kModel = R"({"Name": "SystemModelName", "Value": "M"})";
const std::string kOther = R"({"Name": "Other", "Value": "o"})";
const std::string kBios = R"({"Name": "SystemBiosVersion", "Value": "1.2.3"})";
const std::string kTag = R"({"Name": "SystemServiceTag", "Value": "T"})";
const std::string kCpld = R"({"Name": "SystemCpldVersion", "Value": "4"})";

struct Extracted
{
    int32_t rc;
    std::string inventory; // plain, or "<unwritten>"
};

Extracted extract(const std::string& text)
{
    json_object* doc = parse(text.c_str());
    const std::string before = plain(doc);
    json_object* out = nullptr;
    const int32_t rc = getBIOSDataFromJSON(doc, &out);
    EXPECT_EQ(plain(doc), before) << "the input document was changed";
    json_object_put(doc);
    if (out == nullptr)
        return {rc, "<unwritten>"};
    Extracted result{rc, plain(out)};
    json_object_put(out);
    return result;
}

} // namespace

TEST(ReadJsonDoc, ParsesAWholeFileOrLeavesOutAlone)
{
    const auto file = tempFile(R"({"a": [1, "x"], "b": {"c": null}})");
    json_object* doc = nullptr;
    ASSERT_EQ(readJSONdoc(file.path().c_str(), &doc), 0);
    EXPECT_EQ(plain(doc), R"({"a":[1,"x"],"b":{"c":null}})");

    json_object* const marker = doc;
    EXPECT_EQ(readJSONdoc("/nonexistent/qvm/file.json", &doc), -1);
    const auto broken = tempFile(R"({"a": )");
    EXPECT_EQ(readJSONdoc(broken.path().c_str(), &doc), -1);
    EXPECT_EQ(readJSONdoc(nullptr, &doc), -1);
    EXPECT_EQ(doc, marker);
    EXPECT_EQ(readJSONdoc(file.path().c_str(), nullptr), -1);
    json_object_put(marker);
}

// json-c reads what strict JSON refuses and would write it back as it
// was read; a hostile file still comes out as strict JSON.
TEST(ReadJsonDoc, AHostileFileIsWrittenAsStrictJson)
{
    const auto file = tempFile(
        "{\"k\xFF\": [\"\xE0\x80\", NaN, -Infinity, 1e999, 1., -.5, 00.5, "
        "1e-400, 2.5e3], \"\xC3\xA9\": \"ok\"}");
    json_object* raw = nullptr;
    ASSERT_EQ(readJSONdoc(file.path().c_str(), &raw), 0);
    const qvm::JsonPtr doc(raw);
    const std::string fffd = "\xEF\xBF\xBD";
    char* out = nullptr;
    ASSERT_EQ(makeJSONstringFromDoc(doc.get(), &out), 0);
    const qvm::HeapString text(out);
    EXPECT_EQ(std::string(out),
              "{\n  \"k" + fffd + "\": [\n    \"" + fffd + fffd +
                  "\",\n    null,\n    null,\n    null,\n    1,\n    -0.5,\n"
                  "    0.5,\n    1e-400,\n    2.5e3\n  ],\n  \"\xC3\xA9\": "
                  "\"ok\"\n}");

    const std::time_t before = std::time(nullptr);
    ASSERT_EQ(makeJSONstringFromDocWithTimeStamp(doc.get(), "R\xFF", &out), 0);
    const std::time_t after = std::time(nullptr);
    const qvm::HeapString stamped(out);
    EXPECT_EQ(
        unwrapStamped(out, "Generated", ("R" + fffd).c_str(), before, after),
        "{\"k" + fffd + "\":[\"" + fffd + fffd +
            "\",null,null,null,1,-0.5,0.5,1e-400,2.5e3],\"\xC3\xA9\":"
            "\"ok\"}");
}

// The text is the caller's own copy; the document stays the caller's,
// unchanged and with its one reference.
TEST(DocToString, IsPrettyOrStampedAndLeavesTheDocument)
{
    json_object* doc = parse(R"({"k": [1, 2], "p": "x/y"})");
    char* out = nullptr;
    ASSERT_EQ(makeJSONstringFromDoc(doc, &out), 0);
    const qvm::HeapString owned(out);
    EXPECT_STREQ(out,
                 "{\n  \"k\": [\n    1,\n    2\n  ],\n  \"p\": \"x\\/y\"\n}");
    EXPECT_NE(out, json_object_to_json_string_ext(doc, 3));
    for (const char* name : {"Report", static_cast<const char*>(nullptr)})
    {
        const std::time_t before = std::time(nullptr);
        ASSERT_EQ(makeJSONstringFromDocWithTimeStamp(doc, name, &out), 0);
        const std::time_t after = std::time(nullptr);
        const qvm::HeapString stamped(out);
        EXPECT_EQ(unwrapStamped(out, "Generated", name ? name : "Data", before,
                                after),
                  R"({"k":[1,2],"p":"x\/y"})");
    }
    char marker = 0;
    out = &marker;
    EXPECT_EQ(makeJSONstringFromDoc(nullptr, &out), 3);
    EXPECT_EQ(makeJSONstringFromDoc(doc, nullptr), 3);
    EXPECT_EQ(makeJSONstringFromDocWithTimeStamp(nullptr, "N", &out), 3);
    EXPECT_EQ(makeJSONstringFromDocWithTimeStamp(doc, "N", nullptr), 3);
    EXPECT_EQ(out, &marker);
    EXPECT_EQ(plain(doc), R"({"k":[1,2],"p":"x\/y"})");
    EXPECT_EQ(json_object_put(doc), 1);
}

TEST(BiosData, AttributesEndingEarlyDiscardTheParts)
{
    LogCapture log;
    const auto result = extract(
        configuration(kModel + "," + kOther + "," + kBios + "," + kTag));
    EXPECT_EQ(result.rc, -1);
    EXPECT_EQ(result.inventory, "<unwritten>");
    EXPECT_THAT(log.texts(),
                ElementsAre("Free Jobtype 4\n", "Object processing\n",
                            "Object type 6 delete SystemModelName\n",
                            "Object type 6 delete SystemServiceTag\n",
                            "Exit  return 0 \n", "Free Jobtype 4\n",
                            "Object processing\n",
                            "Object type 6 delete SystemBiosVersion\n",
                            "Exit  return 0 \n"));
}

// Four matches end the walk, even with a repeated name; names match
// exactly; unnamed or odd elements are passed over; a missing or null
// "Value" gives the empty text. A broken path gives its code and no
// document.
TEST(BiosData, FourAttributesFillHardwareThenSoftwareAsText)
{
    const std::string again = R"({"Name": "SystemModelName", "Value": "M2"})";
    const std::string hardware = R"({"Inventory":{"HARDWARE":{)";
    const std::string unwritten = "<unwritten>";
    const std::tuple<std::string, int32_t, std::string> cases[] = {
        {configuration(kModel + "," + kOther + "," + kBios + "," + kTag + "," +
                       kCpld),
         0,
         hardware + R"("SystemModelName":"M","SystemServiceTag":"T"},)"
                    R"("SOFTWARE":{"SystemBiosVersion":"1.2.3",)"
                    R"("SystemCpldVersion":"4"}}})"},
        {configuration(kModel + "," + again + "," + kTag + "," + kBios), 0,
         hardware + R"("SystemModelName":"M2","SystemServiceTag":"T"},)"
                    R"("SOFTWARE":{"SystemBiosVersion":"1.2.3"}}})"},
        {configuration(R"(5, {"Value": "v"}, {"Name": null}, )"
                       R"({"Name": "systemmodelname", "Value": "lower"}, )"
                       R"({"Name": "SystemModelName", "Value": 4}, )"
                       R"({"Name": "SystemServiceTag"}, )"
                       R"({"Name": "SystemBiosVersion", "Value": null}, )"
                       R"({"Name": "SystemCpldVersion", "Value": true})"),
         0,
         hardware + R"("SystemModelName":"4","SystemServiceTag":""},)"
                    R"("SOFTWARE":{"SystemBiosVersion":"",)"
                    R"("SystemCpldVersion":"true"}}})"},
        {R"([1, 2])", -1, unwritten},
        {configuration(""), -1, unwritten},
        {R"({"SystemConfiguration": null})", -2, unwritten},
        {R"({"SystemConfiguration": {"Components": []}})", -2, unwritten},
        {R"({"SystemConfiguration": {"Components": [5]}})", -2, unwritten},
        {R"({"SystemConfiguration": {"Components": [{"Attributes": {}}]}})", -2,
         unwritten},
    };
    for (const auto& [text, code, inventory] : cases)
    {
        const auto result = extract(text);
        EXPECT_EQ(result.rc, code) << text;
        EXPECT_EQ(result.inventory, inventory) << text;
    }
    json_object* doc = parse(configuration(kModel).c_str());
    json_object* out = nullptr;
    EXPECT_EQ(getBIOSDataFromJSON(nullptr, &out), 3);
    EXPECT_EQ(getBIOSDataFromJSON(doc, nullptr), 3);
    EXPECT_EQ(out, nullptr);
    json_object_put(doc);
}
