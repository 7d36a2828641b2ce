#include "reply_builder.hpp"

#include "json_dbus.hpp"

#include <gtest/gtest.h>
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

void WireBody::u32(uint32_t value)
{
    align(4);
    bytes_.append(4, '\0');
    put32(bytes_, bytes_.size() - 4, value);
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
    sd_id128_t id;
    sd_bus_new(&raw);
    bus_.reset(raw);
    sd_id128_randomize(&id);
    sd_bus_set_fd(raw, fds[0], fds[0]);
    sd_bus_set_server(raw, 1, id);
    sd_bus_set_anonymous(raw, 1);
    EXPECT_GE(sd_bus_start(raw), 0);
    EXPECT_TRUE(writeAll(peer_, kAuth));
}

LocalBus::~LocalBus()
{
    bus_.reset();
    if (peer_ >= 0)
        close(peer_);
}

qvm::MessagePtr LocalBus::sealed(sd_bus_message* raw)
{
    qvm::MessagePtr m(raw);
    EXPECT_GE(sd_bus_message_seal(raw, serial_++, 0), 0);
    return m;
}

qvm::MessagePtr LocalBus::call()
{
    sd_bus_message* raw = nullptr;
    EXPECT_GE(sd_bus_message_new_method_call(bus_.get(), &raw, "a.b", "/a",
                                             "a.b", "M"),
              0);
    return sealed(raw);
}

qvm::MessagePtr LocalBus::reply(const std::string& signature,
                                const std::string& values)
{
    sd_bus_message* raw = nullptr;
    EXPECT_GE(sd_bus_message_new_method_return(call().get(), &raw), 0);
    const qvm::JsonPtr json(json_tokener_parse(values.c_str()));
    const bool built =
        json && standin::appendJsonArgs(raw, signature, json.get()) >= 0;
    qvm::MessagePtr m = sealed(raw);
    if (built)
        return m;
    ADD_FAILURE() << "cannot build " << signature << " " << values;
    return nullptr;
}

qvm::MessagePtr LocalBus::errorReply()
{
    sd_bus_message* raw = nullptr;
    EXPECT_GE(sd_bus_message_new_method_errorf(call().get(), &raw,
                                               SD_BUS_ERROR_FAILED, "failed"),
              0);
    return sealed(raw);
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
    if (!writeAll(peer_, header.bytes() + body.bytes()))
        return nullptr;

    sd_bus_message* received = nullptr;
    for (int i = 0; i < 100 && received == nullptr; ++i)
        if (sd_bus_process(bus_.get(), &received) == 0)
            sd_bus_wait(bus_.get(), 100000);
    return qvm::MessagePtr(received);
}

} // namespace qvmtest
