// Reply messages built without a service, for the reader tests and the
// reply fuzz target: method returns to append to, method errors, and
// messages received from raw wire bytes that sd-bus would refuse to append
// (nothing in a received body is validated until it is read).
#pragma once

#include "common/handles.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace qvmtest
{

// The body of a little-endian D-Bus message, written item by item with the
// wire format's alignment.
class WireBody
{
  public:
    void byte(uint8_t value);
    void u16(uint16_t value);
    void u32(uint32_t value);
    void u64(uint64_t value);
    void string(std::string_view text); // s or o
    void signature(std::string_view text);
    // Arrays: the returned mark goes to endArray once the elements are in.
    struct ArrayMark
    {
        std::size_t length; // where the length is written
        std::size_t first;  // where the first element starts
    };
    ArrayMark beginArray(std::size_t elementAlignment);
    void endArray(ArrayMark mark);
    // Dict entries and structs start on 8 bytes.
    void beginStruct() { align(8); }

    const std::string& bytes() const noexcept { return bytes_; }
    std::string& bytes() noexcept { return bytes_; }

  private:
    void align(std::size_t n);
    std::string bytes_;
};

// One end of a socket pair, run by sd-bus as a peer-to-peer server: the
// object that messages are created on, and the receiver of raw bytes.
// Every message comes back null when sd-bus refuses it.
class LocalBus
{
  public:
    LocalBus();
    ~LocalBus();
    LocalBus(const LocalBus&) = delete;
    LocalBus& operator=(const LocalBus&) = delete;

    // Whether the connection came up; the fuzz targets stop when it did not.
    bool ready() const noexcept { return ready_; }

    // An empty method return to append the arguments to; seal it with
    // seal before it is read.
    qvm::MessagePtr methodReturn();
    qvm::MessagePtr seal(qvm::MessagePtr m);
    // A sealed method error reply.
    qvm::MessagePtr errorReply();
    // A method return with the given body, sent over the wire and received
    // as sd-bus delivers it.
    qvm::MessagePtr receive(const std::string& signature, const WireBody& body);

  private:
    qvm::MessagePtr call();

    qvm::BusPtr bus_;
    int peer_ = -1;
    bool ready_ = false;
    uint32_t serial_ = 1;
};

} // namespace qvmtest
