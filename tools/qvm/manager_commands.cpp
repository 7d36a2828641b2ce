// qvm manager ...: the manager's requests.
#include "cli.hpp"
#include "handles.hpp"
#include "manager_watch.hpp"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

constexpr uint32_t kTicketVersion = 1;
constexpr uint32_t kTicketMagic = 0x6E496B74;

// Copies option name into a record's text field; a text that does not fit
// is refused rather than cut.
template <std::size_t N>
void setText(char (&field)[N], const Args& args, const std::string& name)
{
    const std::string text = args.get(name);
    if (text.size() >= N)
        throw UsageError{"--" + name + " holds at most " +
                         std::to_string(N - 1) + " characters"};
    std::memcpy(field, text.c_str(), text.size() + 1);
}

uint16_t u16(const Args& args, const char* name)
{
    return static_cast<uint16_t>(args.number(name, 0, UINT16_MAX));
}

uint8_t u8(const Args& args, const char* name)
{
    return static_cast<uint8_t>(args.number(name, 0, UINT8_MAX));
}

// The manager's status is the answer: it is printed whatever it is, and
// anything but success is also reported as a failure.
int reportStatus(const char* title, int32_t status)
{
    std::printf("status %d\n", status);
    return status == QVM_RC_SUCCESS ? kExitOk : fail(title, status);
}

CollectRecord collectRecord(const Args& args)
{
    CollectRecord record{};
    record.kind = static_cast<uint32_t>(args.number("kind", 0, UINT32_MAX));
    setText(record.text1, args, "text1");
    setText(record.text2, args, "text2");
    setText(record.text3, args, "text3");
    setText(record.text4, args, "text4");
    setText(record.text5, args, "text5");
    setText(record.text6, args, "text6");
    return record;
}

// Collect and Export hand back a number and a text when the record's kind
// asks for them.
int reportCollected(const char* title, int32_t status, char* text,
                    uint64_t value)
{
    const HeapText owned(text);
    const int exit = reportStatus(title, status);
    if (status == QVM_RC_SUCCESS && text != nullptr)
        std::printf("value %" PRIu64 "\ntext %s\n", value, text);
    return exit;
}

int version(const Args&)
{
    char* text = nullptr;
    const int32_t rc = QVM_GetVersionRequest(&text);
    if (rc != QVM_RC_SUCCESS)
        return fail("manager version", rc);
    printAndFree(text);
    return kExitOk;
}

int package(const Args& args)
{
    const std::string ticket = args.get("ticket");
    return reportStatus("manager package",
                        QVM_PackageRequest(ticket.c_str(), u16(args, "number1"),
                                           u16(args, "number2")));
}

int save(const Args& args)
{
    SaveRecord record{};
    record.value1 = static_cast<uint32_t>(args.number("value1", 0, UINT32_MAX));
    record.value2 = static_cast<uint32_t>(args.number("value2", 0, UINT32_MAX));
    record.value3 = static_cast<uint32_t>(args.number("value3", 0, UINT32_MAX));
    setText(record.text1, args, "text1");
    setText(record.text2, args, "text2");
    const std::string ticket = args.get("ticket");
    const std::string text = args.get("text");
    return reportStatus("manager save",
                        QVM_SaveRequest(ticket.c_str(), text.c_str(),
                                        args.number("value", 0, UINT64_MAX),
                                        &record));
}

int collect(const Args& args)
{
    const CollectRecord record = collectRecord(args);
    const std::string ticket = args.get("ticket");
    char* text = nullptr;
    uint64_t value = 0;
    const int32_t rc =
        QVM_CollectRequest(ticket.c_str(), &text, &record, u16(args, "number1"),
                           u16(args, "number2"), &value);
    return reportCollected("manager collect", rc, text, value);
}

int exportRequest(const Args& args)
{
    const CollectRecord record = collectRecord(args);
    const std::string ticket = args.get("ticket");
    char* text = nullptr;
    uint64_t value = 0;
    const int32_t rc = QVM_ExportRequest(ticket.c_str(), &text, &record,
                                         u16(args, "number"), &value);
    return reportCollected("manager export", rc, text, value);
}

void printTicketReply(const TicketReplyRecord& r, char** list)
{
    std::printf("value1 %" PRIu32 "\nvalue2 %" PRIu32 "\n"
                "value3 %" PRIu64 "\nvalue4 %" PRIu64 "\n"
                "bytes %u %u %u %u %u %u\n"
                "text1 %s\ntext2 %s\ntext3 %s\n",
                r.value1, r.value2, r.value3, r.value4, r.byte1, r.byte2,
                r.byte3, r.byte4, r.byte5, r.byte6, r.text1, r.text2, r.text3);
    for (char** item = list; item != nullptr && *item != nullptr; ++item)
        std::printf("list %s\n", *item);
}

int ticket(const Args& args)
{
    TicketRequestRecord request{};
    request.version = kTicketVersion;
    request.magic = kTicketMagic;
    request.op = u8(args, "op");
    request.sub = u8(args, "sub");
    request.param1 = u8(args, "param1");
    request.param2 = u8(args, "param2");
    request.param3 = u8(args, "param3");
    request.param4 = u8(args, "param4");
    setText(request.text1, args, "text1");
    setText(request.text2, args, "text2");
    setText(request.text3, args, "text3");
    TicketReplyRecord reply{};
    char** list = nullptr;
    const int32_t rc = QVM_TicketRequest(&request, &reply, &list);
    if (rc != QVM_RC_SUCCESS)
        return fail("manager ticket", rc);
    printTicketReply(reply, list);
    for (char** item = list; item != nullptr && *item != nullptr; ++item)
        std::free(*item);
    std::free(list);
    return kExitOk;
}

} // namespace

const std::vector<Command>& managerCommands()
{
    static const std::vector<Command> commands{
        {"manager", "version", "", "the manager's version text", version},
        {"manager", "package", "[--ticket T] [--number1 N] [--number2 N]",
         "send a Package request; prints the manager's status", package},
        {"manager", "save",
         "[--ticket T] [--text S] [--value N] [--value1 N] [--value2 N] "
         "[--value3 N] [--text1 S] [--text2 S]",
         "send a Save request; prints the manager's status\n"
         "--value1 to --text2 fill the request record.",
         save},
        {"manager", "collect",
         "[--ticket T] [--kind N] [--text1 S] [--text2 S] [--text3 S] "
         "[--text4 S] [--text5 S] [--text6 S] [--number1 N] [--number2 N]",
         "send a Collect request; prints the status, then the value and text\n"
         "handed back when --kind is 16 and the status is 0.",
         collect},
        {"manager", "export",
         "[--ticket T] [--kind N] [--text1 S] [--text2 S] [--text3 S] "
         "[--text4 S] [--text5 S] [--text6 S] [--number N]",
         "send an Export request; prints as collect does", exportRequest},
        {"manager", "ticket",
         "[--op N] [--sub N] [--param1 N] [--param2 N] [--param3 N] "
         "[--param4 N] [--text1 S] [--text2 S] [--text3 S]",
         "send a Ticket request; prints the reply record and its list\n"
         "The record's version and magic are filled in; the library checks\n"
         "the operation and its parameters before anything is sent.",
         ticket},
        {"manager", "watch", "",
         "print each change of the manager's properties as one JSON line\n"
         "Runs until interrupted, or until the bus connection fails.",
         watchManager},
    };
    return commands;
}

} // namespace qvmcli
