// A sink that writes one flat JSON object straight from the fields, the
// same bytes as the field strings of the same fields turned into a JSON text
// (make_a_json_string): json-c's spaced, pretty layout, "\/" escapes, an
// empty text as "NULL", a repeated key in the place of its first field with
// the value of its last, and the strict UTF-8 pass when a byte above 0x7F
// is present. Fields whose key the field-string grammar would read another
// way (a key with a colon, a null key) are read that way; a field the
// grammar refuses refuses the whole object with the same status.
//
// Each field goes into the text at once, in its final form; only an object
// with a repeated key or a byte above 0x7F is written a second time, when
// it is finished. The sink keeps its memory from one object to the next, so
// a long run of objects allocates next to nothing.
#pragma once

#include "common/handles.hpp"
#include "fields/field_sink.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvm
{

class JsonObjectSink final : public FieldSink
{
  public:
    JsonObjectSink() = default;

    void integer(const char* key, std::int64_t value) override;
    void bitWeight(const char* key, std::uint32_t weight) override;
    void text(const char* key, const char* value) override;
    void flag(const char* key, bool set) override;

    // Forgets the fields, ready for the next object.
    void reset() noexcept;

    // Returns 0 with text set to the object's text (valid until the next
    // field or reset), or the status of the first refused field.
    // QVM_RC_NO_RESOURCES when memory ran out.
    std::int64_t finish(std::string_view& text);
    // The same, appending the text to out (out unchanged on failure).
    std::int64_t finish(std::string& out);

  private:
    // Text grown in place: room is made first, then written through a
    // pointer. The memory stays from one object to the next.
    class Buffer
    {
      public:
        // Room for bytes more at the end; null when memory runs out.
        char* room(std::size_t bytes) noexcept;
        char* data() const noexcept { return data_.get(); }
        std::size_t size() const noexcept { return size_; }
        void resize(std::size_t size) noexcept { size_ = size; }
        void endAt(const char* end) noexcept
        {
            size_ = static_cast<std::size_t>(end - data_.get());
        }

      private:
        HeapString data_;
        std::size_t size_ = 0;
        std::size_t capacity_ = 0;
    };

    struct Member
    {
        std::uint32_t keyAt; // the key as escaped JSON text, unquoted
        std::uint32_t keyLength;
        std::uint32_t valueAt; // the first value as JSON text
        std::uint32_t valueLength;
        std::uint32_t slot;
        // The last value, in repeats_, when the key came again.
        bool repeated;
        std::uint32_t lastAt;
        std::uint32_t lastLength;
    };

    // A key as it goes into the text.
    struct Key
    {
        std::string_view escaped;
        std::uint64_t hash;
        bool high; // holds a byte above 0x7F
    };

    // Keys met before, by address. Most keys are constant texts that come
    // again with every structure of a type; their escaped text and hash
    // are made once. An entry counts only while the text at its address is
    // still the text it was made from.
    struct KnownKey
    {
        const char* address;
        std::uint64_t hash;
        std::uint32_t at; // in keys_: the key, then its escaped text
        std::uint32_t length;
        std::uint32_t escapedLength;
        bool high;
    };

    // A key the field-string grammar reads as it stands; false for one
    // that takes the grammar's way (a null key, a colon, too long).
    bool plainKey(const char* key, Key& out);
    // A key as the grammar split it.
    Key parsedKey(std::string_view key);

    // Where a field's value goes: after the separator and the quoted key
    // in text_, or, for a key already present, at the end of repeats_. Null
    // when the field is dropped (refused or out of memory before).
    char* startField(const Key& key, std::size_t valueRoom);
    // The value is written from the start's pointer up to end.
    void endField(const char* end) noexcept;

    void addParsed(char tag, const char* key, std::string_view value);
    void addInteger(const char* key, char tag, std::int64_t value);
    void integerValue(const Key& key, std::int64_t value);
    void textValue(const Key& key, std::string_view value);
    void literalValue(const Key& key, std::string_view json);

    // The slot that holds the key, or the empty slot where it would go.
    std::size_t slotFor(std::string_view escapedKey,
                        std::uint64_t hash) const noexcept;
    void grow();
    std::string_view keyOf(const Member& member) const noexcept;
    std::int64_t withLastValues(std::string_view& text);
    std::int64_t madeStrict(std::string_view& text);

    Buffer text_;    // "{" and the members, each with its first value
    Buffer repeats_; // the later values of repeated keys
    std::vector<KnownKey> known_;
    Buffer keys_;    // the known keys' texts
    Buffer scratch_; // a parsed key's escaped text
    std::vector<Member> members_;
    // Open addressing over members_: member number + 1 in the low half, the
    // key's hash in the high half (so most probes never compare keys).
    std::vector<std::uint64_t> slots_;
    std::string rewritten_;
    Member* field_ = nullptr; // the member the current field writes
    bool fieldRepeats_ = false;
    std::int64_t refused_ = 0;
    bool outOfMemory_ = false;
    bool highBytes_ = false; // some byte above 0x7F went in
    bool repeated_ = false;  // some key came twice
};

} // namespace qvm
