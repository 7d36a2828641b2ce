#include "client_support.hpp"

#include <functional>

using EventLog = qvmtest::StandinTest;

TEST_F(EventLog, ArgumentsFollowTheHeader)
{
    LogCapture log;
    EXPECT_EQ(QVM_AddEventLog("Base.1.0.Started", ""), 1);
    EXPECT_THAT(
        log.lines(),
        ElementsAre(LogLine{8, 7, "EVENTLOG record\n"},
                    LogLine{8, 7, "types \n"},
                    LogLine{8, 7, "Sending Base.1.0.Started\n"},
                    LogLine{8, 7,
                            "Send did not fail for Base.1.0.Started return: "
                            "1\n"},
                    LogLine{8, 7, "EVENTLOG record done\n"}));
    log.clear();
    EXPECT_EQ(QVM_AddEventLog("Base.1.0.Args", "as", 2, "a", "b"), 1);
    EXPECT_THAT(log.lines()[1], (LogLine{8, 7, "types as\n"}));
    EXPECT_THAT(
        standin::calls("AddEventLog"),
        ElementsAre(R"([4,"OBX.Embedded.1-1","Base.1.0.Started",[]])",
                    R"([4,"OBX.Embedded.1-1","Base.1.0.Args",["a","b"]])"));
}

TEST_F(EventLog, NullArgumentsAreRefusedBeforeTheBus)
{
    LogCapture log;
    EXPECT_EQ(QVM_AddEventLog(nullptr, ""), QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_AddEventLog("Id", nullptr), QVM_RC_INVALID_REQUEST);
    const LogLine record{8, 7, "EVENTLOG record\n"};
    const LogLine refused{8, 3, "types or msgid are NULL pointers\n"};
    EXPECT_THAT(log.lines(), ElementsAre(record, refused, record, refused));
    EXPECT_THAT(standin::calls("AddEventLog"), IsEmpty());
}

TEST_F(EventLog, RecordsThatCannotBeBuiltOrAreRefusedFail)
{
    struct Case
    {
        std::function<int32_t()> record;
        LogLine failure;
    };
    // sd-bus refuses to append text that is not UTF-8.
    const Case cases[] = {
        {[] { return QVM_AddEventLog("\xff", ""); },
         {8, 3,
          errnoText("Failed to append header for \xff no message: ", EINVAL)}},
        {[] { return QVM_AddEventLog("\xff", "as", 0); },
         {8, 4,
          errnoText("Failed to append header for \xff message: ", EINVAL)}},
        {[] { return QVM_AddEventLog("Id", "a"); },
         {8, 4,
          errnoText("Failed to append header for Id bigger message: ",
                    EINVAL)}},
        // Well formed, but not what the service takes.
        {[] { return QVM_AddEventLog("Id", "s", "extra"); },
         {8, 4, errnoText("Send failed for Id message: ", EINVAL)}},
    };
    for (const auto& c : cases)
    {
        LogCapture log;
        EXPECT_EQ(c.record(), QVM_RC_FAILED);
        const auto& lines = log.lines();
        ASSERT_GE(lines.size(), 2U);
        EXPECT_THAT(
            std::vector<LogLine>(lines.end() - 2, lines.end()),
            ElementsAre(c.failure, LogLine{8, 7, "EVENTLOG record done\n"}));
    }
    EXPECT_THAT(standin::calls("AddEventLog"),
                ElementsAre(R"([4,"OBX.Embedded.1-1","Id","extra"])"));
}

TEST_F(EventLog, NoBusFailsWithoutTheClosingLine)
{
    const auto env = qvmtest::withoutSystemBus();
    LogCapture log;
    EXPECT_EQ(QVM_AddEventLog("Id", ""), QVM_RC_FAILED);
    EXPECT_THAT(
        log.lines(),
        ElementsAre(
            LogLine{8, 7, "EVENTLOG record\n"},
            LogLine{8, 3,
                    errnoText("Failed to connect to system bus: ", ENOENT)}));
}
