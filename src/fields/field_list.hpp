// The one append path of a FieldList, shared by every emitter and decoder.
#pragma once

#include "qvmclient.h"

#include <cstddef>
#include <string_view>

namespace qvm
{

// Formats a field string into a zero-filled heap buffer of size bytes (at
// most size - 1 characters) and appends it to list. When the buffer or the
// node cannot be allocated nothing is appended and nothing leaks.
void appendField(FieldList* list, std::size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Appends "tag:key:value" (or "tag:value" for a null key), joined without
// printf: the emitters' path, taken once per field of every structure.
void appendJoined(FieldList* list, char tag, const char* key,
                  std::string_view value) noexcept;

// Appends an already built heap text (calloc/malloc), taking ownership.
void appendText(FieldList* list, char* text) noexcept;

// Unlinks and frees the first node of list and hands its text over (the
// caller frees it); null when the list is empty. Every teardown of a list
// goes through here, so count and tail stay right whoever stops early.
char* takeFirstText(FieldList& list) noexcept;

// Frees every node and text of list and leaves it empty.
void freeFieldNodes(FieldList& list) noexcept;

// Owns a FieldList: what it still holds is freed with it.
class OwnedFieldList
{
  public:
    OwnedFieldList() = default;
    OwnedFieldList(const OwnedFieldList&) = delete;
    OwnedFieldList& operator=(const OwnedFieldList&) = delete;
    ~OwnedFieldList() { freeFieldNodes(list_); }

    FieldList& operator*() noexcept { return list_; }
    FieldList* get() noexcept { return &list_; }

  private:
    FieldList list_{};
};

} // namespace qvm
