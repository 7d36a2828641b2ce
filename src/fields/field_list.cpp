#include "fields/field_list.hpp"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace qvm
{

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
