#include "common/handles.hpp"
#include "fields_support.hpp"
#include "qvmclient.h"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "support/log_capture.hpp"

#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

using fieldstest::plain;
using fieldstest::unwrapStamped;
using qvmtest::LogCapture;

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

// A call line of documents.transcript, the rest of the line a JSON text:
//   read TEXT      readJSONdoc of a file holding TEXT, then the document as
//                  makeJSONstringFromDoc writes it
//   extract TEXT   getBIOSDataFromJSON of the document: its status, the
//                  inventory written plain (or "unwritten") and the log lines
std::vector<std::string> documentCall(const std::string& line)
{
    const std::string op = line.substr(0, line.find(' '));
    const std::string text = line.substr(op.size() + 1);
    if (op == "read")
    {
        const auto file = tempFile(text);
        json_object* raw = nullptr;
        const int32_t rc = readJSONdoc(file.path().c_str(), &raw);
        const qvm::JsonPtr doc(raw);
        std::vector<std::string> out{"rc " + std::to_string(rc)};
        char* pretty = nullptr;
        if (doc && makeJSONstringFromDoc(doc.get(), &pretty) == 0)
            for (const auto& l :
                 qvmtest::transcript::splitLines(qvm::HeapString(pretty).get()))
                out.push_back(qvmtest::transcript::quoted(l));
        return out;
    }
    LogCapture log;
    const qvm::JsonPtr doc(parse(text.c_str()));
    const std::string before = plain(doc.get());
    json_object* raw = nullptr;
    const int32_t rc = getBIOSDataFromJSON(doc.get(), &raw);
    const qvm::JsonPtr inventory(raw);
    std::vector<std::string> out{"rc " + std::to_string(rc) + " " +
                                 (raw ? plain(raw) : "unwritten")};
    if (plain(doc.get()) != before)
        out.emplace_back("the input document was changed");
    for (const auto& l : log.transcriptLines())
        out.push_back(l);
    return out;
}

} // namespace

TEST(ReadJsonDoc, ParsesAWholeFileOrLeavesOutAlone)
{
    const auto file = tempFile(R"({"a": [1, "x"], "b": {"c": null}})");
    json_object* doc = nullptr;
    ASSERT_EQ(readJSONdoc(file.path().c_str(), &doc), 0);
    json_object* const marker = doc;
    EXPECT_EQ(readJSONdoc("/nonexistent/qvm/file.json", &doc), -1);
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

TEST(BiosData, Transcript)
{
    qvmtest::expectTranscript(QVM_DOCUMENTS_TRANSCRIPT, documentCall);
}

TEST(BiosData, MissingArgumentsAreRefused)
{
    json_object* doc = parse(R"({"SystemConfiguration": {}})");
    json_object* out = nullptr;
    EXPECT_EQ(getBIOSDataFromJSON(nullptr, &out), 3);
    EXPECT_EQ(getBIOSDataFromJSON(doc, nullptr), 3);
    EXPECT_EQ(out, nullptr);
    json_object_put(doc);
}
