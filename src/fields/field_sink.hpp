// Where decoders put the fields they find. A field is a key and a typed
// value; fields arrive in the order they are found, repeated keys included,
// and each sink decides how to write them (field strings for the C
// interface, JSON text for the export).
#pragma once

#include <cstdint>

namespace qvm
{

class FieldSink
{
  public:
    FieldSink() = default;
    FieldSink(const FieldSink&) = delete;
    FieldSink& operator=(const FieldSink&) = delete;
    virtual ~FieldSink() = default;

    virtual void integer(const char* key, std::int64_t value) = 0;
    // A field's raw value. The library writes the signed number of the same
    // 64 bits, as it always has.
    virtual void unsignedInteger(const char* key, std::uint64_t value)
    {
        integer(key, static_cast<std::int64_t>(value));
    }
    // The weight of one set bit of a bit field, named after the bit.
    virtual void bitWeight(const char* key, std::uint32_t weight) = 0;
    // A null value writes nothing.
    virtual void text(const char* key, const char* value) = 0;
    // "True" or "False".
    virtual void flag(const char* key, bool set)
    {
        text(key, set ? "True" : "False");
    }
    // One line of a hex dump; key is the line's offset in eight hex digits.
    virtual void hexLine(const char* key, const char* line) { text(key, line); }
};

} // namespace qvm
