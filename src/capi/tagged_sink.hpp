// The sink behind the C interface: every field becomes a "tag:key:value"
// string appended to a FieldList.
#pragma once

#include "fields/field_sink.hpp"
#include "qvmclient.h"

namespace qvm::capi
{

class TaggedSink final : public FieldSink
{
  public:
    explicit TaggedSink(FieldList& list) : list_(list) {}

    // "d:<key>:<value>".
    void integer(const char* key, std::int64_t value) override;
    // "x:<key>:<weight in hex>".
    void bitWeight(const char* key, std::uint32_t weight) override;
    // "s:<key>:<value>".
    void text(const char* key, const char* value) override;

  private:
    FieldList& list_;
};

// Runs decode into a TaggedSink over list; a null list takes nothing.
template <typename Decode> void intoList(FieldList* list, Decode&& decode)
{
    if (list == nullptr)
        return;
    TaggedSink sink(*list);
    decode(sink);
}

} // namespace qvm::capi
