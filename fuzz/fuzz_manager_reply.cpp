// Reads manager replies built from arbitrary bytes (message_from_bytes.hpp)
// with the readers of each request. The first byte picks the reader (and,
// for Ticket, the operation); the second says whether the reply follows the
// signature that reader expects or one read from the input. Besides memory
// errors it checks what callers rely on: out values are written only as
// promised, texts in the reply record stay terminated, and a handed-out
// list ends with a null pointer.
#include "client/manager_replies.hpp"
#include "fuzz_support.hpp"
#include "message_from_bytes.hpp"

#include <cstdlib>
#include <cstring>

namespace
{

using qvmfuzz::require;

// Collect and Export hand their data back only for this record kind.
constexpr uint32_t kKindWantsData = 16;

struct Reader
{
    const char* signature;
    uint8_t op; // a Ticket operation, 0 for the other requests
    uint8_t sub;
};

constexpr char kTicketReply[] = "(uuttyyyyyysss)as";
constexpr Reader kReaders[] = {
    {"x", 0, 0},          {"xts", 0, 0},        {"s", 0, 0},
    {kTicketReply, 1, 1}, {kTicketReply, 1, 2}, {kTicketReply, 1, 3},
    {kTicketReply, 2, 0}, {kTicketReply, 2, 1}, {kTicketReply, 2, 2},
    {kTicketReply, 3, 0}, {kTicketReply, 3, 1}, {kTicketReply, 3, 2},
};
constexpr std::size_t kStatus = 0;
constexpr std::size_t kData = 1;
constexpr std::size_t kVersion = 2;

void readData(sd_bus_message* reply, qvmfuzz::ByteSource& in)
{
    const uint8_t choice = in.byte();
    const uint32_t kind = choice & 1 ? kKindWantsData : choice;
    char marker = 0;
    char* text = &marker;
    uint64_t value = 0;
    const int32_t rc =
        qvm::readDataReply(reply, kind, choice & 2 ? nullptr : &text, &value);
    if (text == &marker)
        return;
    // Written only with both out pointers: reset, or data on success.
    require(text == nullptr || (rc == 0 && kind == kKindWantsData));
    std::free(text);
}

template <std::size_t N> bool terminated(const char (&field)[N])
{
    return std::memchr(field, '\0', N) != nullptr;
}

void readTicket(sd_bus_message* reply, const Reader& reader,
                qvmfuzz::ByteSource& in)
{
    TicketRequestRecord request{};
    request.version = 1;
    request.magic = 0x6E496B74;
    request.op = reader.op;
    request.sub = reader.sub;
    request.text3[0] = 't';
    char** list = nullptr;
    // Operations without a list may pass none.
    char*** listOut = in.byte() & 1 ? &list : nullptr;
    const qvm::TicketOperation* operation = qvm::admitTicket(request, listOut);
    if (operation == nullptr)
        return;
    TicketReplyRecord record{};
    std::strcpy(record.text1, "kept");
    std::strcpy(record.text2, "kept");
    std::strcpy(record.text3, "kept");
    const int32_t rc = qvm::readTicketReply(reply, *operation, record, listOut);
    require(terminated(record.text1) && terminated(record.text2) &&
            terminated(record.text3));
    require(rc == QVM_RC_SUCCESS || list == nullptr);
    require(operation->handsOutList || list == nullptr);
    if (list == nullptr)
        return;
    for (char** entry = list; *entry != nullptr; ++entry)
        std::free(*entry);
    std::free(list);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    qvmfuzz::ByteSource in(data, size);
    const std::size_t pick = in.byte() % std::size(kReaders);
    const Reader& reader = kReaders[pick];
    const std::string signature = in.byte() & 1 ? in.text() : reader.signature;
    const qvm::MessagePtr reply = qvmfuzz::messageFromBytes(signature, in);
    if (!reply)
        return 0;
    if (pick == kStatus)
    {
        qvm::readStatusReply(reply.get());
    }
    else if (pick == kData)
    {
        readData(reply.get(), in);
    }
    else if (pick == kVersion)
    {
        char* version = nullptr;
        if (qvm::readVersionReply(reply.get(), &version) == QVM_RC_SUCCESS)
            require(version != nullptr);
        std::free(version);
    }
    else
    {
        readTicket(reply.get(), reader, in);
    }
    return 0;
}
