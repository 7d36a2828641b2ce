#include "local_bus.hpp"

#include <string>
#include <sys/socket.h>
#include <unistd.h>

namespace qvmtest
{
namespace
{

// Header fields of a method return: the serial it answers and the body
// signature.
constexpr uint8_t kReplySerialField = 5;
constexpr uint8_t kSignatureField = 8;
constexpr uint8_t kMethodReturn = 2;
constexpr uint8_t kProtocolVersion = 1;

// The client's side of the authentication, sent before the first message.
constexpr std::string_view kAuth("\0AUTH ANONYMOUS\r\nBEGIN\r\n", 24);

void put32(std::string& bytes, std::size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// The socket's buffer takes these few bytes in one write.
bool writeAll(int fd, std::string_view bytes)
{
    return write(fd, bytes.data(), bytes.size()) ==
           static_cast<ssize_t>(bytes.size());
}

} // namespace

void WireBody::align(std::size_t n)
{
    while (bytes_.size() % n != 0)
        bytes_.push_back('\0');
}

void WireBody::byte(uint8_t value)
{
    bytes_.push_back(static_cast<char>(value));
}

void WireBody::u16(uint16_t value)
{
    align(2);
    bytes_.push_back(static_cast<char>(value & 0xff));
    bytes_.push_back(static_cast<char>(value >> 8));
}

void WireBody::u32(uint32_t value)
{
    align(4);
    bytes_.append(4, '\0');
    put32(bytes_, bytes_.size() - 4, value);
}

void WireBody::u64(uint64_t value)
{
    align(8);
    bytes_.append(8, '\0');
    put32(bytes_, bytes_.size() - 8, static_cast<uint32_t>(value));
    put32(bytes_, bytes_.size() - 4, static_cast<uint32_t>(value >> 32));
}

void WireBody::string(std::string_view text)
{
    u32(static_cast<uint32_t>(text.size()));
    bytes_.append(text);
    bytes_.push_back('\0');
}

void WireBody::signature(std::string_view text)
{
    byte(static_cast<uint8_t>(text.size()));
    bytes_.append(text);
    bytes_.push_back('\0');
}

WireBody::ArrayMark WireBody::beginArray(std::size_t elementAlignment)
{
    u32(0);
    const std::size_t length = bytes_.size() - 4;
    align(elementAlignment);
    return {length, bytes_.size()};
}

void WireBody::endArray(ArrayMark mark)
{
    // The length leaves out the padding between itself and the first
    // element.
    put32(bytes_, mark.length,
          static_cast<uint32_t>(bytes_.size() - mark.first));
}

LocalBus::LocalBus()
{
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0)
        return;
    peer_ = fds[1];
    sd_bus* raw = nullptr;
    if (sd_bus_new(&raw) < 0)
    {
        close(fds[0]);
        return;
    }
    bus_.reset(raw);
    sd_id128_t id;
    sd_id128_randomize(&id);
    ready_ = sd_bus_set_fd(raw, fds[0], fds[0]) >= 0 &&
             sd_bus_set_server(raw, 1, id) >= 0 &&
             sd_bus_set_anonymous(raw, 1) >= 0 && sd_bus_start(raw) >= 0 &&
             writeAll(peer_, kAuth);
}

LocalBus::~LocalBus()
{
    bus_.reset();
    if (peer_ >= 0)
        close(peer_);
}

qvm::MessagePtr LocalBus::seal(qvm::MessagePtr m)
{
    if (!m || sd_bus_message_seal(m.get(), serial_++, 0) < 0)
        return nullptr;
    return m;
}

qvm::MessagePtr LocalBus::call()
{
    sd_bus_message* raw = nullptr;
    if (!ready_ || sd_bus_message_new_method_call(bus_.get(), &raw, "a.b", "/a",
                                                  "a.b", "M") < 0)
        return nullptr;
    return seal(qvm::MessagePtr(raw));
}

qvm::MessagePtr LocalBus::methodReturn()
{
    const qvm::MessagePtr request = call();
    sd_bus_message* raw = nullptr;
    if (!request || sd_bus_message_new_method_return(request.get(), &raw) < 0)
        return nullptr;
    return qvm::MessagePtr(raw);
}

qvm::MessagePtr LocalBus::errorReply()
{
    const qvm::MessagePtr request = call();
    sd_bus_message* raw = nullptr;
    if (!request || sd_bus_message_new_method_errorf(
                        request.get(), &raw, SD_BUS_ERROR_FAILED, "failed") < 0)
        return nullptr;
    return seal(qvm::MessagePtr(raw));
}

qvm::MessagePtr LocalBus::receive(const std::string& signature,
                                  const WireBody& body)
{
    WireBody header;
    header.byte('l');
    header.byte(kMethodReturn);
    header.byte(0);
    header.byte(kProtocolVersion);
    header.u32(static_cast<uint32_t>(body.bytes().size()));
    header.u32(serial_++);
    const auto fields = header.beginArray(8);
    header.beginStruct();
    header.byte(kReplySerialField);
    header.signature("u");
    header.u32(1);
    header.beginStruct();
    header.byte(kSignatureField);
    header.signature("g");
    header.signature(signature);
    header.endArray(fields);
    header.beginStruct(); // the body starts on 8 bytes
    if (!ready_ || !writeAll(peer_, header.bytes() + body.bytes()))
        return nullptr;

    // The bytes are in the socket already: processing either delivers the
    // message or runs out of work (sd-bus dropped it as malformed).
    sd_bus_message* received = nullptr;
    while (received == nullptr && sd_bus_process(bus_.get(), &received) > 0)
    {
    }
    return qvm::MessagePtr(received);
}

} // namespace qvmtest
