#include "client_support.hpp"

#include <cstdlib>
#include <set>
#include <utility>

namespace
{

constexpr uint32_t kMagic = 0x6E496B74;
// The header as the stand-in records it: version 1 and the magic.
const std::string kHeader = "1,1850305396,";

class TicketRequest : public qvmtest::StandinTest
{
  protected:
    // A record that meets every row's requirement.
    static TicketRequestRecord record(uint8_t op, uint8_t sub)
    {
        return TicketRequestRecord{1, kMagic, op, sub, 0,        0,
                                   0, 0,      "", "",  "payload"};
    }

    static void scriptReply(const std::string& strings,
                            const std::string& texts = R"("", "", "")")
    {
        standin::script("Ticket", "{\"reply\": [[1, 2, 3, 4, 5, 6, 7, 8, 9, "
                                  "10, " +
                                      texts + "], " + strings + "]}");
    }

    // Checks that the request went out exactly when expected, and that a
    // refusal wrote no line.
    void expectSent(const TicketRequestRecord& r, bool sent)
    {
        const std::size_t before = standin::calls("Ticket").size();
        LogCapture log;
        EXPECT_EQ(QVM_TicketRequest(&r, &reply, &list),
                  sent ? QVM_RC_SUCCESS : QVM_RC_INVALID_REQUEST)
            << int{r.op} << "/" << int{r.sub};
        EXPECT_EQ(standin::calls("Ticket").size(), before + (sent ? 1 : 0));
        if (!sent)
        {
            EXPECT_THAT(log.lines(), IsEmpty());
        }
    }

    TicketReplyRecord reply{};
    char** list = nullptr;
};

} // namespace

TEST_F(TicketRequest, OnlyTheOperationTableIsSent)
{
    const std::set<std::pair<int, int>> rows = {
        {1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 1}, {2, 2}, {3, 0}, {3, 1}, {3, 2}};
    for (int op = 0; op <= 4; ++op)
        for (int sub = 0; sub <= 4; ++sub)
            expectSent(
                record(static_cast<uint8_t>(op), static_cast<uint8_t>(sub)),
                rows.count({op, sub}) == 1);
}

// Columns: version, magic, op, sub, param1 (never examined) to param4,
// text1 to text3.
TEST_F(TicketRequest, RowRequirementsAreCheckedBeforeTheBus)
{
    const std::pair<TicketRequestRecord, bool> cases[] = {
        {{2, kMagic, 1, 1, 0, 0, 0, 0, "", "", "payload"}, false},
        {{1, 0x746B496E, 1, 1, 0, 0, 0, 0, "", "", "payload"}, false},
        {{1, kMagic, 3, 2, 0, 0, 0, 0, "", "", ""}, false},
        {{1, kMagic, 3, 1, 0, 0, 0, 0, "", "", ""}, true},
        {{1, kMagic, 2, 0, 200, 100, 4, 3, "", "", "payload"}, true},
        {{1, kMagic, 2, 0, 200, 255, 255, 255, "", "", "payload"}, true},
        {{1, kMagic, 2, 0, 200, 101, 0, 0, "", "", "payload"}, false},
        {{1, kMagic, 2, 0, 200, 0, 5, 0, "", "", "payload"}, false},
        {{1, kMagic, 2, 0, 200, 0, 0, 4, "", "", "payload"}, false},
    };
    for (const auto& [request, sent] : cases)
        expectSent(request, sent);
}

TEST_F(TicketRequest, OnlyTheListOperationNeedsAListPointer)
{
    const auto listOp = record(1, 3);
    const auto other = record(2, 1);
    EXPECT_EQ(QVM_TicketRequest(&listOp, &reply, nullptr),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_TicketRequest(nullptr, &reply, &list),
              QVM_RC_INVALID_REQUEST);
    EXPECT_EQ(QVM_TicketRequest(&other, nullptr, &list),
              QVM_RC_INVALID_REQUEST);
    EXPECT_THAT(standin::calls("Ticket"), IsEmpty());
    EXPECT_EQ(QVM_TicketRequest(&other, &reply, nullptr), QVM_RC_SUCCESS);
}

TEST_F(TicketRequest, NamesGoFirstOnlyForTheNamingOperation)
{
    TicketRequestRecord cases[] = {
        {1, kMagic, 1, 1, 0, 0, 0, 0, "", "", "payload"},
        {1, kMagic, 1, 1, 0, 0, 0, 0, "abc", "", "payload"},
        {1, kMagic, 1, 1, 0, 0, 0, 0, "", "two", "payload"},
        {1, kMagic, 1, 1, 0, 0, 0, 0, "", "", ""},
        {1, kMagic, 2, 0, 1, 2, 3, 255, "abc", "def", "payload"},
    };
    // Fields filled to their last byte have no terminator of their own.
    auto& full = cases[3];
    std::memset(full.text1, 'N', sizeof full.text1);
    std::memset(full.text2, 'M', sizeof full.text2);
    std::memset(full.text3, 'P', sizeof full.text3);
    for (const auto& r : cases)
        EXPECT_EQ(QVM_TicketRequest(&r, &reply, &list), QVM_RC_SUCCESS);
    EXPECT_THAT(
        standin::calls("Ticket"),
        ElementsAre(
            "[[" + kHeader + R"(1,1,0,0,0,0,"QVM","Library","payload"]])",
            "[[" + kHeader + R"(1,1,0,0,0,0,"abc","Library","payload"]])",
            "[[" + kHeader + R"(1,1,0,0,0,0,"QVM","two","payload"]])",
            "[[" + kHeader + "1,1,0,0,0,0,\"" + std::string(9, 'N') + "\",\"" +
                std::string(17, 'M') + "\",\"" + std::string(256, 'P') + "\"]]",
            "[[" + kHeader + R"(2,0,1,2,3,255,"","","payload"]])"));
}

TEST_F(TicketRequest, ReplyFillsTheRecordBoundedAndKeepsUnansweredTexts)
{
    const std::string long1(150, 'a');
    const std::string long3(300, 'c');
    scriptReply("[]", "\"" + long1 + "\", \"\", \"" + long3 + "\"");
    std::strcpy(reply.text2, "keep");
    const auto r = record(1, 1);
    EXPECT_EQ(QVM_TicketRequest(&r, &reply, &list), QVM_RC_SUCCESS);
    EXPECT_THAT((std::vector<uint64_t>{reply.value1, reply.value2, reply.value3,
                                       reply.value4, reply.byte1, reply.byte2,
                                       reply.byte3, reply.byte4, reply.byte5,
                                       reply.byte6}),
                ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10));
    EXPECT_EQ(std::string(reply.text1), long1.substr(0, 97));
    EXPECT_STREQ(reply.text2, "keep");
    EXPECT_EQ(std::string(reply.text3), long3.substr(0, 255));
}

TEST_F(TicketRequest, OnlyTheListOperationHandsOutStringsLastFirst)
{
    const auto listOp = record(1, 3);
    list = reinterpret_cast<char**>(0x1);
    EXPECT_EQ(QVM_TicketRequest(&listOp, &reply, &list), QVM_RC_SUCCESS);
    EXPECT_EQ(list, nullptr);

    scriptReply(R"(["a", "b", "c"])");
    LogCapture log;
    EXPECT_EQ(QVM_TicketRequest(&listOp, &reply, &list), QVM_RC_SUCCESS);
    ASSERT_NE(list, nullptr);
    EXPECT_THAT(std::vector<std::string>(list, list + 3),
                ElementsAre("c", "b", "a"));
    EXPECT_EQ(list[3], nullptr);
    for (char** s = list; *s != nullptr; ++s)
        std::free(*s);
    std::free(list);
    EXPECT_THAT(
        log.lines(),
        ElementsAre(LogLine{8, 7, "read response message string count: 3\n"}));
    const auto other = record(2, 1);
    list = reinterpret_cast<char**>(0x1);
    EXPECT_EQ(QVM_TicketRequest(&other, &reply, &list), QVM_RC_SUCCESS);
    EXPECT_EQ(list, nullptr);
}

TEST_F(TicketRequest, ExchangeFailuresAreLoggedAndFail)
{
    struct Case
    {
        const char* script;
        std::string line;
    };
    const Case cases[] = {
        {R"({"error": "org.example.Failed", "message": "boom"})",
         "(ticket) Failed to issue method call(5): boom -- OP:1 SUB:3\n"},
        {R"({"signature": "s", "reply": ["x"]})",
         errnoText("Failed to parse response message: ", ENXIO)},
        // The struct alone: the record is filled, the strings are missing.
        {R"j({"signature": "(uuttyyyyyysss)",)j"
         R"j( "reply": [[7, 0, 0, 0, 0, 0, 0, 0, 0, 0, "t", "", ""]]})j",
         errnoText("Failed to enter conatinaer response message strings: ",
                   ENXIO)},
    };
    const auto r = record(1, 3);
    for (const auto& c : cases)
    {
        standin::script("Ticket", c.script);
        LogCapture log;
        list = reinterpret_cast<char**>(0x1);
        EXPECT_EQ(QVM_TicketRequest(&r, &reply, &list), QVM_RC_FAILED);
        EXPECT_THAT(log.lines(), ElementsAre(LogLine{8, 3, c.line}));
    }
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(reply.value1, 7U);
    EXPECT_STREQ(reply.text1, "t");
}

TEST(TicketText, PartsHaveTheirLengths)
{
    const std::string part3(32, 'x');
    struct Case
    {
        std::string ticket;
        int32_t result;
    };
    const Case cases[] = {
        {"abc_defghij_" + std::string(31, 'x'), QVM_RC_INVALID_TICKET},
        {"abc_defghij_" + std::string(64, '_'), QVM_RC_SUCCESS},
        {"abc_defghij_" + std::string(65, 'x'), QVM_RC_INVALID_TICKET},
        {std::string(9, 'a') + "_" + std::string(17, 'b') + "_" + part3,
         QVM_RC_SUCCESS},
        {std::string(10, 'a') + "_b_" + part3, QVM_RC_INVALID_TICKET},
        {"a_" + std::string(18, 'b') + "_" + part3, QVM_RC_INVALID_TICKET},
        {"abc__" + part3, QVM_RC_INVALID_TICKET},
        {"abc_" + part3, QVM_RC_INVALID_TICKET},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QVM_valid_ticket_check(c.ticket.c_str()), c.result)
            << c.ticket;
}
