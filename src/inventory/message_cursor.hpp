// Reading steps shared by the reply readers: peeking, entering the reply's
// outer array and leaving containers.
#pragma once

#include <cstdint>
#include <systemd/sd-bus.h>

namespace qvm
{

// The next item of the message at the current level. present is false at
// the end of the innermost container or when the peek failed (failed).
struct MessageItem
{
    int result = 0;
    char type = 0;
    const char* contents = nullptr;

    bool failed() const noexcept { return result < 0; }
    bool present() const noexcept { return result > 0; }
    bool is(char t) const noexcept { return present() && type == t; }
};

MessageItem peekItem(sd_bus_message* m) noexcept;

// Leaves count containers, innermost first; false when sd-bus refused one.
// It refuses to leave a container that still holds unread items, so a
// reader that goes on after a refusal would read those items as if they
// belonged to the level around them.
bool leaveContainers(sd_bus_message* m, int count) noexcept;

// The readers' common opening: true when m is not a method error. A reply
// whose type cannot be read, or an error reply, gives -1 in result.
bool isReadableReply(sd_bus_message* m, int32_t& result) noexcept;

// Enters the reply's first argument when it is an array and returns true.
// Otherwise result holds what the reader returns: -1 for a failed peek, the
// peek result for no argument or another type, the entering result for an
// array that cannot be entered.
bool enterReplyArray(sd_bus_message* m, int32_t& result) noexcept;

// Enters the container that item announced; false when sd-bus refuses.
bool enterItem(sd_bus_message* m, const MessageItem& item) noexcept;

// Reads the next item as a string ('s'); null when it is not one or
// cannot be read. The text belongs to the message.
const char* readString(sd_bus_message* m) noexcept;

} // namespace qvm
