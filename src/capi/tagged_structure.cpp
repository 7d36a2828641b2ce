#include "capi/tagged_structure.hpp"

#include "capi/tagged_sink.hpp"
#include "common/handles.hpp"
#include "fields/field_list.hpp"
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <vector>

namespace qvm::capi
{
namespace
{

// The texts of list in order, taken out of it: the list keeps no node.
class FieldTexts
{
  public:
    explicit FieldTexts(FieldList& list)
    {
        texts_.reserve(list.count);
        // The slot comes first: a failed allocation leaves the text in
        // the list, whose owner frees it.
        while (list.head != nullptr)
        {
            texts_.push_back(nullptr);
            texts_.back() = takeFirstText(list);
        }
    }
    FieldTexts(const FieldTexts&) = delete;
    FieldTexts& operator=(const FieldTexts&) = delete;
    ~FieldTexts()
    {
        for (char* text : texts_)
            std::free(text);
    }
    std::int32_t count() const
    {
        return static_cast<std::int32_t>(texts_.size());
    }
    char** data() { return texts_.data(); }

  private:
    std::vector<char*> texts_;
};

} // namespace

smbios::StructureJson taggedStructureJson(const smbios::StructureView& view,
                                          std::size_t wholeSize,
                                          const decode::DecodeContext& context)
{
    smbios::StructureJson result;
    try
    {
        OwnedFieldList list;
        TaggedSink sink(*list);
        result.status = smbios::decodeStructure(view, wholeSize, context, sink);
        if (result.status != 0)
            return result;
        FieldTexts texts(*list);
        char* text = nullptr;
        if (auto plain = plainObjectText(texts.count(), texts.data()))
        {
            if (std::all_of(plain->begin(), plain->end(),
                            [](char c) { return (c & 0x80) == 0; }))
            {
                result.text = std::move(*plain);
                return result;
            }
            text = strictJsonCopy(*plain);
            result.status = text != nullptr ? 0 : QVM_RC_NO_RESOURCES;
        }
        else
        {
            result.status =
                make_a_json_string(texts.count(), texts.data(), nullptr, &text);
        }
        const HeapString owned(text);
        if (result.status == QVM_RC_SUCCESS)
            result.text.assign(owned.get());
    }
    catch (const std::bad_alloc&)
    {
        result.status = QVM_RC_NO_RESOURCES;
    }
    return result;
}

} // namespace qvm::capi
