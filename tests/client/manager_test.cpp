#include "qvmclient.h"
#include "support/log_capture.hpp"
#include "support/scoped_env.hpp"
#include "support/standin_bus.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

using qvmtest::LogCapture;
using qvmtest::LogLine;
using testing::ElementsAre;
using testing::IsEmpty;
namespace standin = qvmtest::standin;

namespace
{

const auto* bus = qvmtest::useStandinBus();

class ManagerRequest : public qvmtest::StandinTest
{
  protected:
    static CollectRecord collectRecord(uint32_t kind)
    {
        CollectRecord r{};
        r.kind = kind;
        std::strcpy(r.text1, "a");
        std::strcpy(r.text2, "b");
        std::strcpy(r.text3, "c");
        std::strcpy(r.text4, "d");
        std::strcpy(r.text5, "e");
        std::strcpy(r.text6, "f");
        return r;
    }
};

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

TEST_F(ManagerRequest, PackageSendsItsArgumentsAndReturnsTheStatus)
{
    standin::script("Package", R"({"reply": [7]})");
    LogCapture log;
    EXPECT_EQ(QVM_PackageRequest("T1", 1, 65535), 7);
    EXPECT_THAT(standin::calls("Package"), ElementsAre(R"(["T1",1,65535])"));
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 7, "pacakge operation not started\n"}));
}

TEST_F(ManagerRequest, StatusIsTheLowThirtyTwoBits)
{
    standin::script("Package", R"({"reply": [-1]})");
    EXPECT_EQ(QVM_PackageRequest("T", 0, 0), QVM_RC_FAILED);
    standin::script("Package", R"({"reply": [4294967296]})");
    LogCapture log;
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

TEST_F(ManagerRequest, CollectHandsBackNumberAndTextForKind16)
{
    standin::script("Collect", R"({"reply": [0, 12345678901, "the text"]})");
    const CollectRecord record = collectRecord(16);
    char* text = nullptr;
    uint64_t value = 1;
    EXPECT_EQ(QVM_CollectRequest("T3", &text, &record, 7, 8, &value),
              QVM_RC_SUCCESS);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "the text");
    EXPECT_EQ(value, 12345678901U);
    std::free(text);
    EXPECT_THAT(standin::calls("Collect"),
                ElementsAre(R"(["T3",[16,"a","b","c","d","e","f"],7,8])"));
}

TEST_F(ManagerRequest, CollectWithoutBothOutPointersIsRefusedAfterTheCall)
{
    standin::script("Collect", R"({"reply": [0, 5, "x"]})");
    const CollectRecord record = collectRecord(16);
    char* text = reinterpret_cast<char*>(0x1);
    EXPECT_EQ(QVM_CollectRequest("T", &text, &record, 0, 0, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(text, reinterpret_cast<char*>(0x1));
    EXPECT_EQ(standin::calls("Collect").size(), 1U);
}

TEST_F(ManagerRequest, CollectOfAnotherKindClearsTheOutputs)
{
    standin::script("Collect", R"({"reply": [0, 5, "x"]})");
    const CollectRecord record = collectRecord(15);
    char* text = reinterpret_cast<char*>(0x1);
    uint64_t value = 9;
    EXPECT_EQ(QVM_CollectRequest("T", &text, &record, 0, 0, &value),
              QVM_RC_SUCCESS);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(value, 0U);
}

TEST_F(ManagerRequest, NonZeroStatusHandsNothingBack)
{
    standin::script("Export", R"({"reply": [2, 5, "x"]})");
    const CollectRecord record = collectRecord(16);
    char* text = reinterpret_cast<char*>(0x1);
    uint64_t value = 9;
    EXPECT_EQ(QVM_ExportRequest("T4", &text, &record, 3, &value),
              QVM_RC_PENDING);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(value, 0U);
    EXPECT_THAT(standin::calls("Export"),
                ElementsAre(R"(["T4",[16,"a","b","c","d","e","f"],3])"));
}

TEST_F(ManagerRequest, FailedCallsLogTheirLineAndLeaveOutputsAlone)
{
    const CollectRecord record = collectRecord(16);
    SaveRecord save{};
    struct Case
    {
        const char* member;
        std::function<int32_t(char**, uint64_t*)> request;
        const char* line;
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
    };
    for (const auto& c : cases)
    {
        standin::script(
            c.member, R"({"error": "org.example.Failed", "message": "boom"})");
        LogCapture log;
        char* text = reinterpret_cast<char*>(0x1);
        uint64_t value = 9;
        EXPECT_EQ(c.request(&text, &value), QVM_RC_FAILED) << c.member;
        EXPECT_EQ(text, reinterpret_cast<char*>(0x1)) << c.member;
        EXPECT_EQ(value, 9U) << c.member;
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 3, c.line}));
    }
}

TEST_F(ManagerRequest, ReplyOfTheWrongShapeIsAParseFailure)
{
    standin::script("Package", R"({"signature": "s", "reply": ["seven"]})");
    LogCapture log;
    EXPECT_EQ(QVM_PackageRequest("T", 1, 2), QVM_RC_FAILED);
    EXPECT_THAT(
        log.lines(),
        ElementsAre(LogLine{8, 3,
                            std::string("Failed to parse response message: ") +
                                std::strerror(ENXIO) + "\n"}));
}

TEST_F(ManagerRequest, GetVersionSendsNoArgumentsAndCopiesTheText)
{
    standin::script("GetVersion", R"({"reply": ["4.2.1"]})");
    LogCapture log;
    char* version = nullptr;
    EXPECT_EQ(QVM_GetVersionRequest(&version), QVM_RC_SUCCESS);
    ASSERT_NE(version, nullptr);
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
    const std::string line = std::string("Failed to connect to system bus: ") +
                             std::strerror(ENOENT) + "\n";
    EXPECT_THAT(log.lines(),
                ElementsAre(LogLine{8, 3, line}, LogLine{8, 3, line}));
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
