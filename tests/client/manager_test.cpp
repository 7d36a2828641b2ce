// What the transcript cannot show: the shared connection with and without a
// system bus.
#include "client_support.hpp"

#include <cstdlib>

using ManagerRequest = qvmtest::StandinTest;

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
    // An event-log record fails without its closing line.
    EXPECT_EQ(QVM_AddEventLog("Id", ""), QVM_RC_FAILED);
    const LogLine line{8, 3,
                       errnoText("Failed to connect to system bus: ", ENOENT)};
    EXPECT_THAT(
        log.lines(),
        ElementsAre(line, line, LogLine{8, 7, "EVENTLOG record\n"}, line));
}
