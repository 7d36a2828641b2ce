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
// it is finished. Keys are numbered once for all objects (see KeyBook), so
// a repeated key is told by its number. The sink keeps its memory from one
// object to the next, so a long run of objects allocates next to nothing.
#pragma once

#include "fields/constant_values.hpp"
#include "fields/field_sink.hpp"
#include "fields/key_book.hpp"
#include "fields/text_buffer.hpp"

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
    void unsignedInteger(const char* key, std::uint64_t value) override;
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
    // Where a key's member is in the current object: the object's
    // generation when the key is in it, where its first value lies in
    // text_ and, once the key came again, where its last value lies in
    // repeats_.
    struct Seen
    {
        std::uint32_t generation;
        std::uint32_t valueAt;
        std::uint32_t valueLength;
        std::uint32_t lastAt;
        std::uint32_t lastLength;
    };
    static constexpr std::uint32_t kNotRepeated = UINT32_MAX;

    // The key's entry, or null when the key takes the field-string
    // grammar's way (a null key, a colon, too long) or memory ran out (the
    // field is then dropped).
    const KeyBook::Entry* plainKey(const char* key, bool& dropped) noexcept;

    // Where a field's value goes: after the key's opening in text_, or, for
    // a key already present, at the end of repeats_. Null when the field is
    // dropped (refused or out of memory before).
    char* startField(const KeyBook::Entry& key, std::size_t valueRoom);
    char* repeatField(Seen& seen, std::uint32_t key, std::size_t valueRoom);
    // Room in seen_ for every key's number.
    bool seenRoom() noexcept;
    // The value is written from the start's pointer up to end.
    void endField(const char* end) noexcept;

    void addParsed(char tag, const char* key, std::string_view value);
    void addInteger(const char* key, char tag, std::int64_t value);
    void integerValue(const KeyBook::Entry& key, std::int64_t value);
    void textValue(const KeyBook::Entry& key, std::string_view value);
    void literalValue(const KeyBook::Entry& key, std::string_view json);
    void paddedValue(const KeyBook::Entry& key, std::string_view json);

    std::int64_t withLastValues(std::string_view& text);
    std::int64_t madeStrict(std::string_view& text);

    KeyBook keys_;
    ConstantValues values_;
    TextBuffer text_;        // "{" and the members, each with its first value
    TextBuffer repeats_;     // the later values of repeated keys
    std::vector<Seen> seen_; // by key number
    std::uint32_t generation_ = 1;
    // The numbers of the keys that came more than once in this object.
    std::vector<std::uint32_t> repeatedKeys_;
    std::string rewritten_;
    Seen* field_ = nullptr; // the member the current field writes
    bool fieldRepeats_ = false;
    std::int64_t refused_ = 0;
    bool outOfMemory_ = false;
    bool highBytes_ = false; // some byte above 0x7F went in
};

} // namespace qvm
