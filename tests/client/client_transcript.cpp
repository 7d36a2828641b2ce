// Replays client.transcript against the stand-in on a private bus: each
// call line names a request and its arguments; what follows it is the
// result, the outputs, every syslog line and every call the stand-in
// received.
// "script KEY JSON" sets the stand-in's reply.
#include "client_support.hpp"
#include "common/handles.hpp"
#include "support/golden.hpp"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>

namespace
{

using Results = std::vector<std::string>;
using qvmtest::transcript::Args;
using qvmtest::transcript::quoted;

// A value no call hands out: out-parameters start with it so that the
// transcript shows whether they were written.
char** const kUnwrittenList = reinterpret_cast<char**>(0x1);

// A call line ending in "noout" (or, for a ticket, "noreply" or "nolist")
// hands the request a null out pointer.
bool ends(const Args& a, const std::string& word)
{
    return a.size() > 0 && a.text(a.size() - 1) && a.text(a.size() - 1) == word;
}

std::string textOut(const char* text)
{
    return text == kUnwritten ? "unwritten"
           : text == nullptr
               ? "null"
               : quoted(qvm::HeapString(const_cast<char*>(text)).get());
}

Results ticket(const Args& a)
{
    TicketRequestRecord request{};
    // A null version stands for a null record.
    request.version =
        a.text(0) ? static_cast<uint32_t>(a.unsignedNumber(0)) : 0;
    request.magic = static_cast<uint32_t>(a.unsignedNumber(1));
    uint8_t* bytes[] = {&request.op,     &request.sub,    &request.param1,
                        &request.param2, &request.param3, &request.param4};
    for (std::size_t i = 0; i < std::size(bytes); ++i)
        *bytes[i] = static_cast<uint8_t>(a.unsignedNumber(2 + i));
    a.fill(request.text1, 8);
    a.fill(request.text2, 9);
    a.fill(request.text3, 10);
    TicketReplyRecord reply{};
    std::strcpy(reply.text1, "unset");
    std::strcpy(reply.text2, "unset");
    std::strcpy(reply.text3, "unset");
    char** list = kUnwrittenList;
    Results out{"rc " + std::to_string(QVM_TicketRequest(
                            a.text(0) ? &request : nullptr,
                            ends(a, "noreply") ? nullptr : &reply,
                            ends(a, "nolist") ? nullptr : &list))};
    std::ostringstream values;
    values << "reply " << reply.value1 << " " << reply.value2 << " "
           << reply.value3 << " " << reply.value4;
    for (const uint8_t b : {reply.byte1, reply.byte2, reply.byte3, reply.byte4,
                            reply.byte5, reply.byte6})
        values << " " << int{b};
    for (const char* text : {reply.text1, reply.text2, reply.text3})
        values << " " << quoted(text);
    out.push_back(values.str());
    if (list == kUnwrittenList || list == nullptr)
        out.push_back(list == nullptr ? "list null" : "list unwritten");
    else
    {
        std::string strings = "list";
        for (char** s = list; *s != nullptr; ++s)
            strings += " " + quoted(qvm::HeapString(*s).get());
        std::free(list);
        out.push_back(strings);
    }
    return out;
}

// The record with kind and the texts "a" to "f".
CollectRecord collectRecord(const Args& a, std::size_t kindAt)
{
    return CollectRecord{static_cast<uint32_t>(a.unsignedNumber(kindAt)),
                         "a",
                         "b",
                         "c",
                         "d",
                         "e",
                         "f"};
}

// Requests that hand back a text and a number.
Results textAndValue(int32_t rc, char* text, uint64_t value)
{
    return {"rc " + std::to_string(rc), "text " + textOut(text),
            "value " + std::to_string(value)};
}

Results eventLog(const Args& a)
{
    const char* id = a.text(0);
    const char* types = a.text(1);
    int32_t rc = 0;
    if (a.size() == 2)
        rc = QVM_AddEventLog(id, types);
    else if (a.size() == 3)
        rc = QVM_AddEventLog(id, types, a.text(2));
    else
        rc = QVM_AddEventLog(id, types, static_cast<int>(a.number(2)),
                             a.text(3), a.text(4));
    return {"rc " + std::to_string(rc)};
}

using Request = std::function<Results(const Args&)>;

const std::map<std::string, Request>& requests()
{
    static const std::map<std::string, Request> all = {
        {"StrErr",
         [](const Args& a)
         {
             char* text = kUnwritten;
             const int32_t rc = QVM_StrErr(static_cast<int32_t>(a.number(0)),
                                           ends(a, "noout") ? nullptr : &text);
             return Results{"rc " + std::to_string(rc),
                            "text " + textOut(text)};
         }},
        {"rtn_decode",
         [](const Args& a) {
             return Results{"rc " +
                            std::to_string(QVM_rtn_decode(a.number(0)))};
         }},
        {"valid_ticket",
         [](const Args& a) {
             return Results{"rc " +
                            std::to_string(QVM_valid_ticket_check(a.text(0)))};
         }},
        {"Package",
         [](const Args& a)
         {
             return Results{"rc " +
                            std::to_string(QVM_PackageRequest(
                                a.text(0), static_cast<uint16_t>(a.number(1)),
                                static_cast<uint16_t>(a.number(2))))};
         }},
        {"Save",
         [](const Args& a)
         {
             SaveRecord record{};
             record.value1 = static_cast<uint32_t>(a.unsignedNumber(3));
             record.value2 = static_cast<uint32_t>(a.unsignedNumber(4));
             record.value3 = static_cast<uint32_t>(a.unsignedNumber(5));
             a.fill(record.text1, 6);
             a.fill(record.text2, 7);
             return Results{"rc " + std::to_string(QVM_SaveRequest(
                                        a.text(0), a.text(1),
                                        a.unsignedNumber(2), &record))};
         }},
        {"Collect",
         [](const Args& a)
         {
             const CollectRecord record = collectRecord(a, 1);
             char* text = kUnwritten;
             uint64_t value = 9;
             const int32_t rc = QVM_CollectRequest(
                 a.text(0), &text, &record, static_cast<uint16_t>(a.number(2)),
                 static_cast<uint16_t>(a.number(3)),
                 ends(a, "noout") ? nullptr : &value);
             return textAndValue(rc, text, value);
         }},
        {"Export",
         [](const Args& a)
         {
             const CollectRecord record = collectRecord(a, 1);
             char* text = kUnwritten;
             uint64_t value = 9;
             const int32_t rc =
                 QVM_ExportRequest(a.text(0), &text, &record,
                                   static_cast<uint16_t>(a.number(2)), &value);
             return textAndValue(rc, text, value);
         }},
        {"GetVersion",
         [](const Args& a)
         {
             char* text = kUnwritten;
             const int32_t rc =
                 QVM_GetVersionRequest(ends(a, "noout") ? nullptr : &text);
             return Results{"rc " + std::to_string(rc),
                            "text " + textOut(text)};
         }},
        // The library's version: its whole twelve bytes.
        {"LibraryVersion",
         [](const Args& a)
         {
             char* text = nullptr;
             const int32_t rc =
                 QVM_GetLibraryVersion(ends(a, "noout") ? nullptr : &text);
             const qvm::HeapString owned(text);
             return Results{"rc " + std::to_string(rc),
                            text ? quoted(std::string(text, 12)) : "null"};
         }},
        {"Ticket", ticket},
        {"EventLog", eventLog},
    };
    return all;
}

// The members whose calls the stand-in records for these requests.
const char* const kMembers[] = {"AddEventLog", "Collect", "Export",
                                "GetVersion",  "Package", "Save",
                                "Ticket"};

Results replayLine(const std::string& line)
{
    std::istringstream in(line);
    std::string name;
    in >> name;
    if (name == "script")
    {
        std::string key;
        std::string json;
        in >> key >> std::ws;
        std::getline(in, json);
        standin::script(key, json);
        return {};
    }
    const auto request = requests().find(name);
    if (request == requests().end())
        return {"<unknown request>"};
    std::map<std::string, std::size_t> before;
    for (const char* member : kMembers)
        before[member] = standin::calls(member).size();
    LogCapture log;
    Results out = request->second(Args(in));
    for (const auto& l : log.transcriptLines())
        out.push_back(l);
    for (const char* member : kMembers)
    {
        const auto calls = standin::calls(member);
        for (std::size_t i = before[member]; i < calls.size(); ++i)
            out.push_back(std::string("sent ") + member + " " + calls[i]);
    }
    return out;
}

} // namespace

using ClientTranscript = qvmtest::StandinTest;

TEST_F(ClientTranscript, EveryCallGivesWhatItsTranscriptSays)
{
    qvmtest::expectTranscript(QVM_CLIENT_TRANSCRIPT, replayLine);
}
