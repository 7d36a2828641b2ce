// A FieldList owned by a test: the decoders append to it, the test reads the
// field strings back in order, and the destructor frees nodes and texts.
#pragma once

#include "qvmclient.h"

#include <cstdlib>
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
    ~FieldCapture()
    {
        FieldNode* node = list_.head;
        while (node != nullptr)
        {
            FieldNode* next = node->next;
            std::free(node->text);
            std::free(node);
            node = next;
        }
    }

    FieldList* list() { return &list_; }

    // The field strings from head to tail; also checks that count agrees.
    std::vector<std::string> strings() const
    {
        std::vector<std::string> out;
        for (const FieldNode* node = list_.head; node != nullptr;
             node = node->next)
            out.emplace_back(node->text);
        if (out.size() != list_.count)
            out.emplace_back("<count " + std::to_string(list_.count) + ">");
        return out;
    }

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

} // namespace qvmtest
