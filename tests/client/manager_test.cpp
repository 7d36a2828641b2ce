// What the transcript cannot show: out pointers that are missing, and the
// shared connection with and without a system bus.
#include "client_support.hpp"

#include <cstdlib>

using ManagerRequest = qvmtest::StandinTest;

TEST_F(ManagerRequest, MissingOutPointersAreRefused)
{
    const CollectRecord collect{16, "a", "b", "c", "d", "e", "f"};
    char* text = kUnwritten;
    EXPECT_EQ(QVM_GetVersionRequest(nullptr), QVM_RC_INVALID_REQUEST);
    // Without both out pointers the call is made, then refused.
    EXPECT_EQ(QVM_CollectRequest("T", &text, &collect, 0, 0, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(text, kUnwritten);
    EXPECT_EQ(standin::calls("Collect").size(), 1U);

    // Only the list operation needs a list pointer.
    TicketRequestRecord ticket{1, 0x6E496B74, 1, 3, 0, 0, 0, 0, "", "", "p"};
    TicketReplyRecord reply{};
    char** list = nullptr;
    EXPECT_EQ(QVM_TicketRequest(&ticket, &reply, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_TicketRequest(nullptr, &reply, &list),
              QVM_RC_INVALID_REQUEST);
    ticket.op = 2;
    ticket.sub = 1;
    EXPECT_EQ(QVM_TicketRequest(&ticket, nullptr, &list),
              QVM_RC_INVALID_REQUEST);
    EXPECT_THAT(standin::calls("Ticket"), IsEmpty());
    EXPECT_EQ(QVM_TicketRequest(&ticket, &reply, nullptr), QVM_RC_SUCCESS);
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
    // An event-log record fails without its closing line.
    EXPECT_EQ(QVM_AddEventLog("Id", ""), QVM_RC_FAILED);
    const LogLine line{8, 3,
                       errnoText("Failed to connect to system bus: ", ENOENT)};
    EXPECT_THAT(
        log.lines(),
        ElementsAre(line, line, LogLine{8, 7, "EVENTLOG record\n"}, line));
}
