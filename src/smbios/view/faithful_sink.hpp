// A sink that keeps every field of one structure, in the order the fields
// first appear: a key given more than once holds all its values, in table
// order, as a JSON array. Values are kept as JSON texts (strings escaped
// and in valid UTF-8, numbers, true/false, null), ready both for a document
// and for comparing two structures field by field.
#pragma once

#include "fields/field_sink.hpp"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qvm::smbios
{

struct FaithfulField
{
    std::string key;
    // One JSON text per value, in the order they came.
    std::vector<std::string> values;
    // An array even with a single member.
    bool list = false;

    // The member's value as JSON: the one value, or an array of them.
    std::string json() const;
};

class FaithfulSink final : public FieldSink
{
  public:
    void integer(const char* key, std::int64_t value) override;
    void unsignedInteger(const char* key, std::uint64_t value) override;
    void bitWeight(const char* key, std::uint32_t weight) override;
    void text(const char* key, const char* value) override;
    void flag(const char* key, bool set) override;
    void null(const char* key) override;
    void list(const char* key) override;

    std::vector<FaithfulField> take() { return std::move(fields_); }

  private:
    FaithfulField& fieldFor(const char* key);
    void add(const char* key, std::string json);

    std::vector<FaithfulField> fields_;
};

// text as a JSON string; ill-formed UTF-8 becomes U+FFFD.
std::string jsonString(std::string_view text);

} // namespace qvm::smbios
