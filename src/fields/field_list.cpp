#include "fields/field_list.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace qvm
{

char* takeFirstText(FieldList& list) noexcept
{
    FieldNode* node = list.head;
    if (node == nullptr)
        return nullptr;
    char* text = node->text;
    list.head = node->next;
    std::free(node);
    if (list.head == nullptr)
        list = FieldList{};
    else if (list.count > 0)
        --list.count;
    return text;
}

void freeFieldNodes(FieldList& list) noexcept
{
    while (list.head != nullptr)
        std::free(takeFirstText(list));
    // A list whose head is null may still carry a stale count or tail.
    list = FieldList{};
}

void appendText(FieldList* list, char* text) noexcept
{
    auto* node = static_cast<FieldNode*>(std::calloc(1, sizeof(FieldNode)));
    if (node == nullptr)
    {
        std::free(text);
        return;
    }
    node->text = text;
    if (list->tail != nullptr)
        list->tail->next = node;
    else
        list->head = node;
    list->tail = node;
    ++list->count;
}

void appendJoined(FieldList* list, char tag, const char* key,
                  std::string_view value) noexcept
{
    const std::size_t keyLength = key != nullptr ? std::strlen(key) : 0;
    const std::size_t size =
        2 + (key != nullptr ? keyLength + 1 : 0) + value.size() + 1;
    auto* text = static_cast<char*>(std::calloc(1, size));
    if (text == nullptr)
        return;
    char* out = text;
    *out++ = tag;
    *out++ = ':';
    if (key != nullptr)
    {
        std::memcpy(out, key, keyLength);
        out += keyLength;
        *out++ = ':';
    }
    std::memcpy(out, value.data(), value.size());
    appendText(list, text);
}

void appendField(FieldList* list, std::size_t size, const char* format, ...)
{
    auto* text = static_cast<char*>(std::calloc(1, size));
    if (text == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, size, format, args);
    va_end(args);
    appendText(list, text);
}

} // namespace qvm
