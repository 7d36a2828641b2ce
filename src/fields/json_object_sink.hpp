// A sink that writes one flat JSON object straight from the fields, the
// same bytes as the field strings of the same fields turned into a JSON text
// (make_a_json_string): json-c's spaced, pretty layout, "\/" escapes, an
// empty text as "NULL", a repeated key in the place of its first field with
// the value of its last, and the strict UTF-8 pass when a byte above 0x7F
// is present. Fields whose key the field-string grammar would read another
// way (a key with a colon, a null key) are read that way; a field the
// grammar refuses refuses the whole object with the same status.
//
// The sink keeps its memory from one object to the next, so a long run of
// objects allocates next to nothing.
#pragma once

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

    // Forgets the fields, ready for the next object.
    void reset() noexcept;

    // Appends the object's text to out and returns 0, or returns the status
    // of the first refused field (out unchanged). QVM_RC_NO_RESOURCES when
    // memory ran out.
    std::int64_t finish(std::string& out);

  private:
    struct Member
    {
        std::uint32_t keyAt; // the key as escaped JSON text, unquoted
        std::uint32_t keyLength;
        std::uint32_t valueAt; // the value as JSON text
        std::uint32_t valueLength;
        std::uint32_t slot;
    };

    // Values are written into the arena first, then commit adds the key.
    void integerValue(std::string_view key, std::int64_t value);
    void addInteger(const char* key, char tag, std::int64_t value);
    void textValue(std::string_view key, std::string_view value);
    void commit(std::string_view key, std::size_t valueAt);
    // A field read back through the field-string grammar.
    void addParsed(char tag, const char* key, std::string_view value);
    std::string_view keyOf(const Member& member) const;
    std::size_t slotFor(std::string_view escapedKey) const;
    void grow();

    std::string arena_;
    std::vector<Member> members_;
    std::vector<std::uint32_t> slots_; // member number + 1, or 0
    std::int64_t refused_ = 0;
    bool outOfMemory_ = false;
    bool highBytes_ = false; // some byte above 0x7F went in
};

} // namespace qvm
