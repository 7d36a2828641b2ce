// The JSON strings of constant text values, escaped once. A decoder's
// label ("Other", "Write Back") comes again with every structure of its
// type; its quoted, escaped text is made the first time and found by the
// label's address after that. Values anywhere else (a table's strings, a
// formatted buffer) are escaped where they are written.
#pragma once

#include "common/read_only.hpp"
#include "fields/text_buffer.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace qvm
{

class ConstantValues
{
  public:
    struct Value
    {
        const char* address;
        std::uint32_t at; // in texts_
        std::uint32_t length;
        bool high; // the value holds a byte above 0x7F
    };

    // The entry of value, a text in read-only data; null for any other
    // value, or when memory ran out.
    const Value* find(const char* value) noexcept
    {
        if (value != nullptr && !byAddress_.empty())
        {
            const Value& cached = byAddress_[addressSlot(value, kAddressBits)];
            if (cached.address == value)
                return &cached;
        }
        return added(value);
    }

    // The value as a JSON string, the empty text as "NULL" (as the
    // field-string grammar reads it). May be read in kOverCopy blocks.
    std::string_view json(const Value& value) const noexcept
    {
        return {texts_.data() + value.at, value.length};
    }

    // Whether the texts have outgrown their room (values that share a slot
    // take turns in it, each turn leaving a text behind).
    bool full() const noexcept;
    void clear() noexcept;

  private:
    static constexpr unsigned kAddressBits = 10;

    const Value* added(const char* value) noexcept;

    TextBuffer texts_;
    std::vector<Value> byAddress_;
};

} // namespace qvm
