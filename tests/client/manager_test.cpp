#include "client_support.hpp"

#include <cstdlib>
#include <functional>

namespace
{

using ManagerRequest = qvmtest::StandinTest;

CollectRecord collectRecord(uint32_t kind)
{
    return CollectRecord{kind, "a", "b", "c", "d", "e", "f"};
}

} // namespace

TEST_F(ManagerRequest, NullRequiredPointerTouchesNothing)
{
    LogCapture log;
    SaveRecord save{};
    CollectRecord collect{};
    char* text = nullptr;
    uint64_t value = 0;
    EXPECT_EQ(QVM_PackageRequest(nullptr, 1, 2), QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_SaveRequest(nullptr, "t", 1, &save), QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_SaveRequest("T", "t", 1, nullptr), QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_CollectRequest(nullptr, &text, &collect, 1, 2, &value),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_CollectRequest("T", &text, nullptr, 1, 2, &value),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_ExportRequest(nullptr, &text, &collect, 1, &value),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_ExportRequest("T", &text, nullptr, 1, &value),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_GetVersionRequest(nullptr), QVM_RC_INVALID_REQUEST);
    EXPECT_THAT(log.lines(), IsEmpty());
    for (const char* member : {"Package", "Save", "Collect", "Export"})
        EXPECT_THAT(standin::calls(member), IsEmpty()) << member;
}

TEST_F(ManagerRequest, PackageSendsItsArgumentsAndReturnsTheLowThirtyTwoBits)
{
    standin::script("Package", R"({"reply": [7]})");
    LogCapture log;
    EXPECT_EQ(QVM_PackageRequest("T1", 1, 65535), 7);
    EXPECT_THAT(standin::calls("Package"), ElementsAre(R"(["T1",1,65535])"));
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 7, "pacakge operation not started\n"}));

    standin::script("Package", R"({"reply": [-1]})");
    EXPECT_EQ(QVM_PackageRequest("T", 0, 0), QVM_RC_FAILED);
    standin::script("Package", R"({"reply": [4294967296]})");
    log.clear();
    EXPECT_EQ(QVM_PackageRequest("T", 0, 0), QVM_RC_SUCCESS);
    EXPECT_THAT(log.texts(),
                ElementsAre("Not translated return code: 100000000\n"));
    standin::script("Package", R"({"reply": [4294967295]})");
    EXPECT_EQ(QVM_PackageRequest("T", 0, 0), -1);
}

TEST_F(ManagerRequest, SaveSendsTheRecordAndANullTextAsEmpty)
{
    SaveRecord record{1, 2, 4294967295U, "first", "second"};
    EXPECT_EQ(QVM_SaveRequest("T2", nullptr, 18446744073709551615ULL, &record),
              QVM_RC_SUCCESS);
    EXPECT_THAT(standin::calls("Save"),
                ElementsAre(R"(["T2","",18446744073709551615,)"
                            R"([1,2,4294967295,"first","second"]])"));
}

// Kind 16 with a zero status hands back the number and the text; anything
// else clears both.
TEST_F(ManagerRequest, CollectAndExportHandBackOnlyWhatTheyWereAskedFor)
{
    struct Case
    {
        const char* member;
        const char* reply;
        uint32_t kind;
        int32_t rc;
        const char* text;
        uint64_t value;
    };
    const Case cases[] = {
        {"Collect", R"([0, 12345678901, "the text"])", 16, QVM_RC_SUCCESS,
         "the text", 12345678901U},
        {"Collect", R"([0, 5, "x"])", 15, QVM_RC_SUCCESS, nullptr, 0},
        {"Export", R"([2, 5, "x"])", 16, QVM_RC_PENDING, nullptr, 0},
    };
    for (const auto& c : cases)
    {
        standin::script(c.member, std::string("{\"reply\": ") + c.reply + "}");
        const CollectRecord record = collectRecord(c.kind);
        char* text = kUnwritten;
        uint64_t value = 9;
        const bool collect = std::string(c.member) == "Collect";
        EXPECT_EQ(collect
                      ? QVM_CollectRequest("T3", &text, &record, 7, 8, &value)
                      : QVM_ExportRequest("T4", &text, &record, 3, &value),
                  c.rc)
            << c.member << c.kind;
        EXPECT_EQ(value, c.value);
        if (c.text == nullptr)
            EXPECT_EQ(text, nullptr);
        else
        {
            EXPECT_STREQ(text, c.text);
            std::free(text);
        }
    }
    EXPECT_THAT(standin::calls("Collect"),
                ElementsAre(R"(["T3",[16,"a","b","c","d","e","f"],7,8])",
                            R"(["T3",[15,"a","b","c","d","e","f"],7,8])"));
    EXPECT_THAT(standin::calls("Export"),
                ElementsAre(R"(["T4",[16,"a","b","c","d","e","f"],3])"));
}

TEST_F(ManagerRequest, CollectWithoutBothOutPointersIsRefusedAfterTheCall)
{
    standin::script("Collect", R"({"reply": [0, 5, "x"]})");
    const CollectRecord record = collectRecord(16);
    char* text = kUnwritten;
    EXPECT_EQ(QVM_CollectRequest("T", &text, &record, 0, 0, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(text, kUnwritten);
    EXPECT_EQ(standin::calls("Collect").size(), 1U);
}

// A call the service fails, or a reply of the wrong shape.
TEST_F(ManagerRequest, FailedCallsLogTheirLineAndLeaveOutputsAlone)
{
    const CollectRecord record = collectRecord(16);
    SaveRecord save{};
    struct Case
    {
        const char* member;
        std::function<int32_t(char**, uint64_t*)> request;
        std::string line;
        const char* script =
            R"({"error": "org.example.Failed", "message": "boom"})";
    };
    const Case cases[] = {
        {"Package",
         [](char**, uint64_t*) { return QVM_PackageRequest("T", 1, 2); },
         "(package)Failed to issue method call: boom\n"},
        {"Save",
         [&](char**, uint64_t*) { return QVM_SaveRequest("T", "x", 1, &save); },
         "(save)Failed to issue method call: boom\n"},
        {"Collect",
         [&](char** t, uint64_t* v)
         { return QVM_CollectRequest("T", t, &record, 1, 2, v); },
         "(Collect) Failed to issue method call: boom\n"},
        {"Export",
         [&](char** t, uint64_t* v)
         { return QVM_ExportRequest("T", t, &record, 1, v); },
         "(export) Failed to issue method call: boom\n"},
        {"GetVersion",
         [](char** t, uint64_t*) { return QVM_GetVersionRequest(t); },
         "(version)Failed to issue method call: boom\n"},
        {"Package",
         [](char**, uint64_t*) { return QVM_PackageRequest("T", 1, 2); },
         errnoText("Failed to parse response message: ", ENXIO),
         R"({"signature": "s", "reply": ["seven"]})"},
    };
    for (const auto& c : cases)
    {
        standin::script(c.member, c.script);
        LogCapture log;
        char* text = kUnwritten;
        uint64_t value = 9;
        EXPECT_EQ(c.request(&text, &value), QVM_RC_FAILED) << c.member;
        EXPECT_EQ(text, kUnwritten) << c.member;
        EXPECT_EQ(value, 9U) << c.member;
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 3, c.line}));
    }
}

TEST_F(ManagerRequest, GetVersionSendsNoArgumentsAndCopiesTheText)
{
    standin::script("GetVersion", R"({"reply": ["4.2.1"]})");
    LogCapture log;
    char* version = nullptr;
    EXPECT_EQ(QVM_GetVersionRequest(&version), QVM_RC_SUCCESS);
    EXPECT_STREQ(version, "4.2.1");
    std::free(version);
    EXPECT_THAT(standin::calls("GetVersion"), ElementsAre("[]"));
    EXPECT_THAT(log.lines(), IsEmpty());
}

TEST_F(ManagerRequest, NoBusIsReportedAndFails)
{
    const auto env = qvmtest::withoutSystemBus();
    LogCapture log;
    EXPECT_EQ(QVM_PackageRequest("T", 1, 2), QVM_RC_FAILED);
    EXPECT_EQ(QVM_ConnectToBus(), nullptr);
    const LogLine line{8, 3,
                       errnoText("Failed to connect to system bus: ", ENOENT)};
    EXPECT_THAT(log.lines(), ElementsAre(line, line));
}

TEST_F(ManagerRequest, ConnectToBusHandsOutAReferenceRequestsShare)
{
    sd_bus* own = QVM_ConnectToBus();
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(QVM_PackageRequest("T", 1, 2), QVM_RC_SUCCESS);
    sd_bus* again = QVM_ConnectToBus();
    EXPECT_EQ(again, own);
    sd_bus_unref(again);
    sd_bus_unref(own);
}
