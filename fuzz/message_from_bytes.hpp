// D-Bus messages made from fuzz input, for the readers of what another
// process sends. The bytes (a ByteSource) are read in order and written as
// raw wire values of a signature, so that a message may hold what sd-bus
// would refuse to append (strings that are not UTF-8, booleans other than
// 0 and 1, doubles that are not finite): nested arrays, variants with
// generated types, dict entries and structs. Missing bytes read as zero.
#pragma once

#include "common/handles.hpp"
#include "fuzz_support.hpp"
#include "json_dbus.hpp"
#include "support/local_bus.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>

namespace qvmfuzz
{

inline constexpr int kMaxDepth = 10;
// Arrays stop growing past kMaxBody.
inline constexpr std::size_t kMaxBody = 32 * 1024;
inline constexpr std::string_view kBasicTypes = "ybnqiuxtdsogh";

// Writes values of complete types, and makes up such types, from the input.
class WireValues
{
  public:
    explicit WireValues(ByteSource& in) : in_(in) {}

    // Writes one value of the complete type at sig[at]; the position after
    // that type.
    std::size_t value(const std::string& sig, std::size_t at, int depth)
    {
        switch (const char t = sig[at])
        {
            case 'y':
                body_.byte(in_.byte());
                return at + 1;
            case 'b': // now and then neither 0 nor 1
                body_.u32(in_.byte() % 8 == 7 ? in_.byte() : in_.byte() & 1);
                return at + 1;
            case 'n':
            case 'q':
                body_.u16(static_cast<uint16_t>(in_.number(2)));
                return at + 1;
            case 'i':
            case 'u':
            case 'h':
                body_.u32(static_cast<uint32_t>(in_.number(4)));
                return at + 1;
            case 'x':
            case 't':
            case 'd':
                body_.u64(in_.number(8));
                return at + 1;
            case 's':
            case 'o':
                body_.string(*strings_.insert(text(t)).first);
                return at + 1;
            case 'g':
                body_.signature(*strings_.insert(text(t)).first);
                return at + 1;
            case 'v':
            {
                const std::string inner = type(depth + 1);
                body_.signature(inner);
                value(inner, 0, depth + 1);
                return at + 1;
            }
            case 'a':
                return array(sig, at, depth);
            default: // ( or {
            {
                const char close = t == '(' ? ')' : '}';
                body_.beginStruct();
                std::size_t next = at + 1;
                while (sig[next] != close)
                    next = value(sig, next, depth + 1);
                return next + 1;
            }
        }
    }

    qvmtest::WireBody& body() { return body_; }
    // Every string, object path and signature written so far.
    const std::set<std::string>& strings() const { return strings_; }

    char basicType() { return kBasicTypes[in_.byte() % kBasicTypes.size()]; }

    // A complete type, kept small enough for a signature's 255 bytes.
    std::string type(int depth)
    {
        const uint8_t pick = in_.byte();
        if (depth >= kMaxDepth || budget_ <= 0 || pick % 2 == 0)
        {
            --budget_;
            return std::string(1, basicType());
        }
        budget_ -= 2;
        switch (pick / 2 % 4)
        {
            case 0:
                return "v";
            case 1:
                return "a" + type(depth + 1);
            case 2:
                return std::string("a{") + basicType() + type(depth + 1) + "}";
            default:
            {
                std::string members = "(";
                for (int n = 1 + in_.byte() % 3; n > 0; --n)
                    members += type(depth + 1);
                return members + ")";
            }
        }
    }

  private:
    // Mostly names that repeat (so keys collide) and valid paths; else raw
    // bytes, which may be invalid UTF-8 or hold a zero.
    std::string text(char type)
    {
        static constexpr const char* kNames[] = {
            "A", "B", "Present", "PrettyName", "", "x.y.Z", "/", "/a/b"};
        static constexpr const char* kSignatures[] = {"s", "a{sv}", "", "(",
                                                      "aaa"};
        const uint8_t pick = in_.byte();
        if (pick % 4 != 3)
        {
            if (type == 'o')
                return pick % 2 ? "/" : "/a/b";
            if (type == 'g')
                return kSignatures[pick % 5];
            return kNames[pick % 8];
        }
        std::string raw;
        for (int n = in_.byte() % 8; n > 0; --n)
            raw.push_back(static_cast<char>(in_.byte()));
        return raw;
    }

    static std::size_t alignment(char type)
    {
        if (std::string_view("ygv").find(type) != std::string_view::npos)
            return 1;
        if (type == 'n' || type == 'q')
            return 2;
        if (std::string_view("xtd({").find(type) != std::string_view::npos)
            return 8;
        return 4;
    }

    std::size_t array(const std::string& sig, std::size_t at, int depth)
    {
        const auto mark = body_.beginArray(alignment(sig[at + 1]));
        int count = in_.byte() % 4;
        if (in_.exhausted() || body_.bytes().size() > kMaxBody)
            count = 0;
        for (; count > 0; --count)
            value(sig, at + 1, depth + 1);
        body_.endArray(mark);
        return at + 1 +
               standin::completeTypeLength(
                   std::string_view(sig).substr(at + 1));
    }

    ByteSource& in_;
    qvmtest::WireBody body_;
    std::set<std::string> strings_;
    int budget_ = 60;
};

// The message received over a local connection with body as the values
// of signature; null when sd-bus refuses it.
inline qvm::MessagePtr receive(const std::string& signature,
                               const qvmtest::WireBody& body)
{
    static std::unique_ptr<qvmtest::LocalBus> bus;
    if (!bus)
        bus = std::make_unique<qvmtest::LocalBus>();
    require(bus->ready());
    qvm::MessagePtr message = bus->receive(signature, body);
    if (!message)
        bus.reset(); // a dropped message may leave the connection behind
    return message;
}

// A received message whose body follows signature, its values read from
// in; null when the signature is malformed or sd-bus refuses the message.
inline qvm::MessagePtr messageFromBytes(std::string_view signature,
                                        ByteSource& in)
{
    for (std::string_view rest = signature; !rest.empty();)
    {
        const std::size_t length = standin::completeTypeLength(rest);
        if (length == 0)
            return nullptr;
        rest.remove_prefix(length);
    }
    const std::string types(signature);
    WireValues values(in);
    for (std::size_t at = 0; at < types.size();)
        at = values.value(types, at, 0);
    return receive(types, values.body());
}

} // namespace qvmfuzz
