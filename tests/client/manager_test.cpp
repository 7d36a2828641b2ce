#include "client_support.hpp"

#include <cstdlib>
#include <tuple>

namespace
{

using ManagerRequest = qvmtest::StandinTest;

CollectRecord collectRecord(uint32_t kind)
{
    return CollectRecord{kind, "a", "b", "c", "d", "e", "f"};
}

// Calls the request that member names, as its tests here call it.
int32_t request(const std::string& member, char** text, uint64_t* value)
{
    static const CollectRecord collect = collectRecord(16);
    static const SaveRecord save{};
    if (member == "Package")
        return QVM_PackageRequest("T", 1, 2);
    if (member == "Save")
        return QVM_SaveRequest("T", "x", 1, &save);
    if (member == "Collect")
        return QVM_CollectRequest("T", text, &collect, 1, 2, value);
    if (member == "Export")
        return QVM_ExportRequest("T", text, &collect, 1, value);
    return QVM_GetVersionRequest(text);
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

// The reply's low 32 bits are the result; a value that does not fit is
// logged in full.
TEST_F(ManagerRequest, PackageReturnsTheLowThirtyTwoBits)
{
    const std::tuple<const char*, int32_t, const char*> replies[] = {
        {"[7]", 7, "pacakge operation not started\n"},
        {"[4294967296]", 0, "Not translated return code: 100000000\n"},
        {"[4294967295]", -1, "Not translated return code: ffffffff\n"},
        {"[-1]", QVM_RC_FAILED, "Invalid parameter used\n"},
    };
    for (const auto& [reply, rc, line] : replies)
    {
        standin::script("Package", std::string("{\"reply\": ") + reply + "}");
        LogCapture log;
        EXPECT_EQ(QVM_PackageRequest("T", 0, 0), rc) << reply;
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 7, line})) << reply;
    }
}

// What the tool's own tests leave out: the widest values, a null text, no
// arguments at all.
TEST_F(ManagerRequest, SaveAndGetVersionSendWhatTheServiceReads)
{
    SaveRecord record{1, 2, 4294967295U, "first", "second"};
    EXPECT_EQ(QVM_SaveRequest("T2", nullptr, 18446744073709551615ULL, &record),
              QVM_RC_SUCCESS);
    // The stand-in reads a 't' as the library does: its bits as signed.
    EXPECT_THAT(standin::calls("Save"),
                ElementsAre(R"(["T2","",-1,)"
                            R"([1,2,4294967295,"first","second"]])"));
    standin::script("GetVersion", R"({"reply": ["4.2.1"]})");
    char* version = nullptr;
    EXPECT_EQ(QVM_GetVersionRequest(&version), QVM_RC_SUCCESS);
    EXPECT_STREQ(qvm::HeapString(version).get(), "4.2.1");
    EXPECT_THAT(standin::calls("GetVersion"), ElementsAre("[]"));
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
        EXPECT_STREQ(qvm::HeapString(text).get(), c.text);
    }
    EXPECT_THAT(standin::calls("Collect"),
                ElementsAre(R"(["T3",[16,"a","b","c","d","e","f"],7,8])",
                            R"(["T3",[15,"a","b","c","d","e","f"],7,8])"));
    EXPECT_THAT(standin::calls("Export"),
                ElementsAre(R"(["T4",[16,"a","b","c","d","e","f"],3])"));

    // Without both out pointers the call is made, then refused.
    const CollectRecord record = collectRecord(16);
    char* text = kUnwritten;
    EXPECT_EQ(QVM_CollectRequest("T", &text, &record, 0, 0, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(text, kUnwritten);
    EXPECT_EQ(standin::calls("Collect").size(), 3U);
}

// A call the service fails, or a reply of the wrong shape.
TEST_F(ManagerRequest, FailedCallsLogTheirLineAndLeaveOutputsAlone)
{
    const std::string failed = "Failed to issue method call: boom\n";
    const std::pair<const char*, std::string> cases[] = {
        {"Package", "(package)" + failed},    {"Save", "(save)" + failed},
        {"Collect", "(Collect) " + failed},   {"Export", "(export) " + failed},
        {"GetVersion", "(version)" + failed},
    };
    for (const auto& [member, line] : cases)
    {
        standin::script(
            member, R"({"error": "org.example.Failed", "message": "boom"})");
        LogCapture log;
        char* text = kUnwritten;
        uint64_t value = 9;
        EXPECT_EQ(request(member, &text, &value), QVM_RC_FAILED) << member;
        EXPECT_EQ(text, kUnwritten) << member;
        EXPECT_EQ(value, 9U) << member;
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 3, line}));
    }
    standin::script("Package", R"({"signature": "s", "reply": ["seven"]})");
    LogCapture log;
    EXPECT_EQ(request("Package", nullptr, nullptr), QVM_RC_FAILED);
    EXPECT_THAT(
        log.lines(),
        ElementsAre(LogLine{
            8, 3, errnoText("Failed to parse response message: ", ENXIO)}));
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

    const auto env = qvmtest::withoutSystemBus();
    LogCapture log;
    EXPECT_EQ(QVM_PackageRequest("T", 1, 2), QVM_RC_FAILED);
    EXPECT_EQ(QVM_ConnectToBus(), nullptr);
    const LogLine line{8, 3,
                       errnoText("Failed to connect to system bus: ", ENOENT)};
    EXPECT_THAT(log.lines(), ElementsAre(line, line));
}
