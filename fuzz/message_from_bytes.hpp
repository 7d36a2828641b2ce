// D-Bus messages built from fuzz input, for the readers of what another
// process sends. The bytes (a ByteSource) are read in order: values as the
// signature asks for them (numbers little-endian at their width, a string as a
// length byte and that many bytes, an array as a count byte, a variant as its
// signature string and then its value). Missing bytes read as zero.
#pragma once

#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "json_dbus.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <systemd/sd-bus.h>

namespace qvmfuzz
{

// Appends the values of a signature to a message. Anything sd-bus refuses
// (a malformed signature, a string that is not UTF-8, a file descriptor)
// makes the whole message fail.
class MessageFiller
{
  public:
    MessageFiller(ByteSource& in, sd_bus_message* message)
        : in_(in), message_(message)
    {
    }

    bool fill(std::string_view signature)
    {
        while (!signature.empty())
            if (!complete(signature))
                return false;
        return true;
    }

  private:
    // Arrays in arrays would multiply without a bound on the values.
    static constexpr int kMaxValues = 512;
    static constexpr int kMaxElements = 5;

    // Appends one value of the complete type at the front of signature and
    // removes that type from it.
    bool complete(std::string_view& signature)
    {
        const std::size_t length = standin::completeTypeLength(signature);
        if (length == 0 || --budget_ < 0)
            return false;
        const char kind = signature[0];
        const std::string_view type = signature.substr(0, length);
        signature.remove_prefix(length);
        switch (kind)
        {
            case 'a':
                return container('a', std::string(type.substr(1)),
                                 in_.byte() % (kMaxElements + 1));
            case '(':
            case '{':
                return container(kind == '(' ? 'r' : 'e',
                                 std::string(type.substr(1, length - 2)), 1);
            case 'v':
                return container('v', in_.text(), 1);
            default:
                return basic(kind);
        }
    }

    bool container(char kind, const std::string& contents, int repeat)
    {
        if (sd_bus_message_open_container(message_, kind, contents.c_str()) < 0)
            return false;
        // An array repeats its element type; a struct, dictionary entry or
        // variant holds its contents once.
        for (int i = 0; i < repeat; ++i)
            if (!fill(contents))
                return false;
        return sd_bus_message_close_container(message_) >= 0;
    }

    bool basic(char kind)
    {
        std::string text;
        uint64_t number = 0;
        const void* value = &number;
        switch (kind)
        {
            case 'y':
                number = in_.number(1);
                break;
            case 'b':
                number = in_.byte() & 1;
                break;
            case 'n':
            case 'q':
                number = in_.number(2);
                break;
            case 'i':
            case 'u':
                number = in_.number(4);
                break;
            case 'x':
            case 't':
            case 'd':
                number = in_.number(8);
                break;
            case 's':
            case 'o':
            case 'g':
                text = in_.text();
                value = text.c_str();
                break;
            default:
                return false;
        }
        // sd-bus reads each basic value at its own width from the start of
        // number, which is little-endian here.
        return sd_bus_message_append_basic(message_, kind, value) >= 0;
    }

    ByteSource& in_;
    sd_bus_message* message_;
    int budget_ = kMaxValues;
};

// A sealed message whose body follows signature, read from in; null when
// sd-bus refuses it.
inline qvm::MessagePtr messageFromBytes(std::string_view signature,
                                        ByteSource& in)
{
    // Messages need a started bus; this one only ever builds them.
    static sd_bus* const bus = []
    {
        int pair[2] = {-1, -1};
        sd_bus* made = nullptr;
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) < 0 ||
            sd_bus_new(&made) < 0 ||
            sd_bus_set_fd(made, pair[0], pair[0]) < 0 || sd_bus_start(made) < 0)
            __builtin_trap();
        return made;
    }();
    static uint64_t cookie = 0;
    sd_bus_message* raw = nullptr;
    if (sd_bus_message_new_method_call(bus, &raw, "net.qvmclient.Fuzz", "/",
                                       "net.qvmclient.Fuzz", "Reply") < 0)
        return nullptr;
    qvm::MessagePtr message(raw);
    if (!MessageFiller(in, raw).fill(signature) ||
        sd_bus_message_seal(raw, ++cookie, 0) < 0)
        return nullptr;
    return message;
}

} // namespace qvmfuzz
