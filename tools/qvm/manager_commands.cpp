// qvm manager ...: the manager's requests.
#include "bus.hpp"
#include "cli.hpp"
#include "client/manager_requests.hpp"
#include "client/ticket_operations.hpp"
#include "handles.hpp"
#include "manager_watch.hpp"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <qvmclient.h>

namespace qvmcli
{
namespace
{

constexpr uint32_t kTicketVersion = 1;
constexpr uint32_t kTicketMagic = 0x6E496B74;
constexpr char kManager[] = "xyz.openbmc_project.QuorvaneManager1";

// A text option for a record's field; a text that does not fit is refused
// rather than cut.
template <std::size_t N>
void addText(Command& command, const std::string& name, char (&field)[N],
             const std::string& help)
{
    command.parsed(
        name,
        [&field, name](const std::string& text)
        {
            if (text.size() >= N)
                throw UsageError{name + " holds at most " +
                                 std::to_string(N - 1) + " characters"};
            std::memcpy(field, text.c_str(), text.size() + 1);
        },
        help, "S");
}

// The manager's status is the answer: it is printed whatever it is, and
// anything but success is also reported as a failure.
int reportStatus(const char* title, int32_t status)
{
    std::printf("status %d\n", status);
    if (status == QVM_RC_SUCCESS)
        return kExitOk;
    return status < 0 ? failOnBus(title, status, kManager)
                      : fail(title, status);
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

// Each request holds the bus while the library uses it, so that a bus that
// cannot be had is reported with its address and reason.
Command addRequest(Command& manager, const std::string& name,
                   const std::string& help, Run run)
{
    const std::string title = "manager " + name;
    return manager.command(name, help,
                           [title, run]
                           {
                               const Bus bus = connectBus(title);
                               return bus ? run() : kExitFailed;
                           });
}

int version()
{
    char* text = nullptr;
    const int32_t rc = qvm::versionRequest(&text);
    if (rc != QVM_RC_SUCCESS)
        return failOnBus("manager version", rc, kManager);
    printAndFree(text);
    return kExitOk;
}

struct PackageOptions
{
    std::string ticket;
    uint16_t number1 = 0;
    uint16_t number2 = 0;
};

struct SaveOptions
{
    std::string ticket;
    std::string text;
    uint64_t value = 0;
    SaveRecord record{};
};

struct CollectOptions
{
    std::string ticket;
    CollectRecord record{};
    uint16_t number1 = 0;
    uint16_t number2 = 0;
};

void addCollectRecord(Command& c, CollectRecord& record)
{
    c.number("--kind", record.kind, "the record's kind");
    addText(c, "--text1", record.text1, "the record's first text");
    addText(c, "--text2", record.text2, "the record's second text");
    addText(c, "--text3", record.text3, "the record's third text");
    addText(c, "--text4", record.text4, "the record's fourth text");
    addText(c, "--text5", record.text5, "the record's fifth text");
    addText(c, "--text6", record.text6, "the record's sixth text");
}

int collect(const CollectOptions& o)
{
    char* text = nullptr;
    uint64_t value = 0;
    const int32_t rc = qvm::collectRequest(o.ticket.c_str(), o.record,
                                           o.number1, o.number2, &text, &value);
    return reportCollected("manager collect", rc, text, value);
}

int exportRequest(const CollectOptions& o)
{
    char* text = nullptr;
    uint64_t value = 0;
    const int32_t rc = qvm::exportRequest(o.ticket.c_str(), o.record, o.number1,
                                          &text, &value);
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

// Whether the library knows the operation at all: it admits a request for
// a known one whose parameters meet every operation's needs.
bool knownOperation(const TicketRequestRecord& request)
{
    TicketRequestRecord probe{};
    probe.version = request.version;
    probe.magic = request.magic;
    probe.op = request.op;
    probe.sub = request.sub;
    probe.text3[0] = 'x';
    char** list = nullptr;
    return qvm::admitTicket(probe, &list) != nullptr;
}

int ticket(const TicketRequestRecord& request)
{
    TicketReplyRecord reply{};
    char** list = nullptr;
    const int32_t rc = qvm::ticketRequest(request, reply, &list);
    if (rc == QVM_RC_INVALID_REQUEST)
        return failWith("manager ticket",
                        "the library refuses operation " +
                            std::to_string(request.op) + " sub " +
                            std::to_string(request.sub) +
                            (knownOperation(request)
                                 ? ": its parameters do not meet what the "
                                   "operation requires ("
                                 : ": not an operation it knows (") +
                            statusText(rc) + ")");
    if (rc != QVM_RC_SUCCESS)
        return failOnBus("manager ticket", rc, kManager);
    printTicketReply(reply, list);
    for (char** item = list; item != nullptr && *item != nullptr; ++item)
        std::free(*item);
    std::free(list);
    return kExitOk;
}

void addPackage(Command& manager)
{
    auto o = std::make_shared<PackageOptions>();
    Command c = addRequest(
        manager, "package",
        "send a Package request; prints the manager's status",
        [o]
        {
            return reportStatus(
                "manager package",
                qvm::packageRequest(o->ticket.c_str(), o->number1, o->number2));
        });
    c.text("--ticket", o->ticket, "the ticket text", "T");
    c.number("--number1", o->number1, "the request's first number");
    c.number("--number2", o->number2, "the request's second number");
}

void addSave(Command& manager)
{
    auto o = std::make_shared<SaveOptions>();
    Command c =
        addRequest(manager, "save",
                   "send a Save request; prints the manager's status\n"
                   "--value1 to --text2 fill the request record.",
                   [o]
                   {
                       return reportStatus(
                           "manager save",
                           qvm::saveRequest(o->ticket.c_str(), o->text.c_str(),
                                            o->value, o->record));
                   });
    c.text("--ticket", o->ticket, "the ticket text", "T");
    c.text("--text", o->text, "the text to save");
    c.number("--value", o->value, "the value to save");
    c.number("--value1", o->record.value1, "the record's first value");
    c.number("--value2", o->record.value2, "the record's second value");
    c.number("--value3", o->record.value3, "the record's third value");
    addText(c, "--text1", o->record.text1, "the record's first text");
    addText(c, "--text2", o->record.text2, "the record's second text");
}

void addCollects(Command& manager)
{
    auto collected = std::make_shared<CollectOptions>();
    Command c = addRequest(
        manager, "collect",
        "send a Collect request; prints the status, then the value and text\n"
        "handed back when --kind is 16 and the status is 0.",
        [collected] { return collect(*collected); });
    c.text("--ticket", collected->ticket, "the ticket text", "T");
    addCollectRecord(c, collected->record);
    c.number("--number1", collected->number1, "the request's first number");
    c.number("--number2", collected->number2, "the request's second number");

    auto exported = std::make_shared<CollectOptions>();
    c = addRequest(manager, "export",
                   "send an Export request; prints as collect does",
                   [exported] { return exportRequest(*exported); });
    c.text("--ticket", exported->ticket, "the ticket text", "T");
    addCollectRecord(c, exported->record);
    c.number("--number", exported->number1, "the request's number");
}

void addTicket(Command& manager)
{
    auto request = std::make_shared<TicketRequestRecord>();
    request->version = kTicketVersion;
    request->magic = kTicketMagic;
    Command c = addRequest(
        manager, "ticket",
        "send a Ticket request; prints the reply record and its list\n"
        "The record's version and magic are filled in; the library checks\n"
        "the operation and its parameters before anything is sent.",
        [request] { return ticket(*request); });
    c.number("--op", request->op, "the operation");
    c.number("--sub", request->sub, "the sub-operation");
    c.number("--param1", request->param1, "the first parameter");
    c.number("--param2", request->param2, "the second parameter");
    c.number("--param3", request->param3, "the third parameter");
    c.number("--param4", request->param4, "the fourth parameter");
    addText(c, "--text1", request->text1, "the first text");
    addText(c, "--text2", request->text2, "the second text");
    addText(c, "--text3", request->text3, "the third text");
}

} // namespace

void addManagerCommands(Command& app)
{
    Command manager = app.group("manager", "the manager's requests");
    addRequest(manager, "version", "the manager's version text", version);
    addPackage(manager);
    addSave(manager);
    addCollects(manager);
    addTicket(manager);
    addRequest(manager, "watch",
               "print each change of the manager's properties as one JSON "
               "line\nRuns until interrupted, or until the bus connection "
               "fails.",
               watchManager);
}

} // namespace qvmcli
