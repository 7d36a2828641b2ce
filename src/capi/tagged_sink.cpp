#include "capi/tagged_sink.hpp"

#include "common/text.hpp"
#include "fields/field_list.hpp"

#include <cstring>

namespace qvm::capi
{

void TaggedSink::integer(const char* key, std::int64_t value)
{
    DecimalBuffer digits;
    appendJoined(&list_, 'd', key, decimalText(value, digits));
}

void TaggedSink::bitWeight(const char* key, std::uint32_t weight)
{
    // Tag, two colons, eight hex digits and the zero fit with room to spare
    // in the key's length plus 24.
    appendField(&list_, std::strlen(key) + 24, "x:%s:%x", key, weight);
}

void TaggedSink::text(const char* key, const char* value)
{
    if (value != nullptr)
        appendJoined(&list_, 's', key, value);
}

} // namespace qvm::capi
