// Numbers for the keys of JSON objects written one after another. Each
// distinct key text gets a number the first time it comes, and with it the
// text that opens its member (",\n  \"<escaped key>\": "), escaped once.
// An object then tells a repeated key by its number, without comparing
// texts, and writes a member's opening with one copy.
//
// Most keys are constant texts in the program's read-only data (the rows'
// keys, the decoders' labels): such a key is found by its address alone, as
// the text there cannot change. A key anywhere else (a buffer reused for
// computed keys) is looked up by its text each time it comes.
#pragma once

#include "common/read_only.hpp"
#include "fields/text_buffer.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qvm
{

// An opening may be read in blocks of this size: the block that holds its
// last byte lies inside the book's memory.
inline constexpr std::size_t kOverCopy = 16;

class KeyBook
{
  public:
    struct Entry
    {
        std::uint32_t number;
        std::uint32_t rawAt; // in texts_: the key, then its opening
        std::uint32_t rawLength;
        std::uint32_t openingLength;
        bool high; // the key holds a byte above 0x7F
    };

    // What a lookup found: the key's entry, a key that the field-string
    // grammar reads another way (null, a colon, too long), or no memory.
    enum class Found
    {
        entry,
        notPlain,
        noMemory,
    };

    Found find(const char* key, const Entry*& entry) noexcept
    {
        if (key != nullptr && !byAddress_.empty())
        {
            const ByAddress& cached =
                byAddress_[addressSlot(key, kAddressBits)];
            if (cached.address == key)
            {
                entry = &entries_[cached.number];
                return Found::entry;
            }
        }
        return findText(key, entry);
    }
    // A key as the field-string grammar split it (always plain).
    Found find(std::string_view key, const Entry*& entry) noexcept;

    std::string_view opening(const Entry& entry) const noexcept
    {
        return {texts_.data() + entry.rawAt + entry.rawLength,
                entry.openingLength};
    }
    // Numbers run from 0 to count() - 1.
    std::size_t count() const noexcept { return entries_.size(); }

    // Whether the texts have outgrown their room: computed keys can bring
    // new texts without end (a table's own strings as keys), each kept.
    bool full() const noexcept;
    // Forgets every key; numbers start again from 0.
    void clear() noexcept;

  private:
    std::string_view raw(const Entry& entry) const noexcept
    {
        return {texts_.data() + entry.rawAt, entry.rawLength};
    }
    Found findText(const char* key, const Entry*& entry) noexcept;
    const Entry* byText(std::string_view key) noexcept;
    const Entry* added(std::string_view key) noexcept;
    bool grow() noexcept;

    static constexpr unsigned kAddressBits = 10;
    struct ByAddress
    {
        const char* address;
        std::uint32_t number;
    };

    TextBuffer texts_;
    std::vector<Entry> entries_;
    // Open addressing over entries_: number + 1 in the low half, the key's
    // hash in the high half (so most probes never compare texts).
    std::vector<std::uint64_t> slots_;
    // A direct-mapped cache of constant keys by address.
    std::vector<ByAddress> byAddress_;
};

} // namespace qvm
