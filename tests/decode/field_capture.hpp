// A FieldList owned by a test: the decoders append to it, the test reads the
// field strings back in order, and the destructor frees nodes and texts.
#pragma once

#include "fields/field_list.hpp"
#include "qvmclient.h"
#include "support/field_strings.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace qvmtest
{

class FieldCapture
{
  public:
    FieldCapture() = default;
    FieldCapture(const FieldCapture&) = delete;
    FieldCapture& operator=(const FieldCapture&) = delete;
    ~FieldCapture() { qvm::freeFieldNodes(list_); }

    FieldList* list() { return &list_; }

    // The field strings from head to tail, taken out of the list; also
    // checks that count agrees.
    std::vector<std::string> strings() { return takeFieldStrings(list_); }

  private:
    FieldList list_{};
};

// The field strings one decoder call appends to an empty list: the decoder
// is called with args followed by the list.
template <typename Decoder, typename... Args>
std::vector<std::string> decoded(Decoder decoder, Args&&... args)
{
    FieldCapture fields;
    decoder(std::forward<Args>(args)..., fields.list());
    return fields.strings();
}

// A decoder of a value and the text it must give for it.
struct DecoderCase
{
    void (*decoder)(uint32_t, FieldList*);
    uint32_t value;
    const char* text;
};

// A decoder that reads a little-endian value of width bytes through a
// pointer, given it at an odd address with 0xEE bytes after it.
inline std::vector<std::string>
decodedAtOddAddress(void (*decoder)(const void*, FieldList*), uint64_t value,
                    std::size_t width)
{
    uint8_t bytes[10];
    for (std::size_t i = 0; i < sizeof bytes; ++i)
        bytes[i] = i >= 1 && i <= width
                       ? static_cast<uint8_t>(value >> (8 * (i - 1)))
                       : 0xEE;
    return decoded(decoder, static_cast<const void*>(bytes + 1));
}

// The field strings of one decoder call and the ones it must give.
struct DecodedCase
{
    std::vector<std::string> fields;
    std::vector<std::string> expected;
};

inline void expectDecoded(std::initializer_list<DecodedCase> cases)
{
    int index = 0;
    for (const DecodedCase& c : cases)
    {
        EXPECT_THAT(c.fields, testing::ElementsAreArray(c.expected))
            << "case " << index;
        ++index;
    }
}

} // namespace qvmtest
