#include "fields/json_object_sink.hpp"

#include "common/handles.hpp"
#include "common/text.hpp"
#include "fields/field_string.hpp"
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace qvm
{
namespace
{

constexpr std::size_t kFirstSlots = 64;

// A key the field-string grammar reads as it stands.
bool plainKey(const char* key)
{
    if (key == nullptr)
        return false;
    const std::size_t length = std::strlen(key);
    return length <= kMaxKey && std::memchr(key, ':', length) == nullptr;
}

// Length and the first and last eight bytes (the bytes of a shorter key):
// cheap, and enough to tell apart the keys of one structure.
std::uint64_t quickHash(std::string_view key)
{
    std::uint64_t head = 0;
    std::uint64_t tail = 0;
    if (key.size() >= 8)
    {
        std::memcpy(&head, key.data(), 8);
        std::memcpy(&tail, key.data() + key.size() - 8, 8);
    }
    else
    {
        for (const char c : key)
            head = head << 8 | static_cast<unsigned char>(c);
    }
    std::uint64_t hash = (key.size() + head) * 0x9E3779B97F4A7C15ULL;
    hash = (hash ^ tail ^ hash >> 29) * 0xBF58476D1CE4E5B9ULL;
    return hash ^ hash >> 32;
}

} // namespace

void JsonObjectSink::reset() noexcept
{
    for (const Member& member : members_)
        slots_[member.slot] = 0;
    arena_.clear();
    members_.clear();
    refused_ = 0;
    outOfMemory_ = false;
    highBytes_ = false;
}

std::string_view JsonObjectSink::keyOf(const Member& member) const
{
    return std::string_view(arena_).substr(member.keyAt, member.keyLength);
}

std::size_t JsonObjectSink::slotFor(std::string_view escapedKey) const
{
    const std::size_t mask = slots_.size() - 1;
    auto at = static_cast<std::size_t>(quickHash(escapedKey)) & mask;
    while (slots_[at] != 0 && keyOf(members_[slots_[at] - 1]) != escapedKey)
        at = (at + 1) & mask;
    return at;
}

// Keeps the table at most half full.
void JsonObjectSink::grow()
{
    slots_.assign(std::max(kFirstSlots, 2 * slots_.size()), 0U);
    for (std::uint32_t i = 0; i < members_.size(); ++i)
    {
        members_[i].slot =
            static_cast<std::uint32_t>(slotFor(keyOf(members_[i])));
        slots_[members_[i].slot] = i + 1;
    }
}

// Keys compare as escaped text: escaping maps different keys to different
// texts, so a key repeats exactly when its escaped text does.
void JsonObjectSink::commit(std::string_view key, std::size_t valueAt)
{
    const std::size_t keyAt = arena_.size();
    highBytes_ |= appendJsonEscaped(arena_, key);
    if (2 * (members_.size() + 1) > slots_.size())
        grow();
    const std::string_view escaped = std::string_view(arena_).substr(keyAt);
    const std::size_t slot = slotFor(escaped);
    const auto valueLength = static_cast<std::uint32_t>(keyAt - valueAt);
    if (slots_[slot] != 0)
    {
        Member& member = members_[slots_[slot] - 1];
        member.valueAt = static_cast<std::uint32_t>(valueAt);
        member.valueLength = valueLength;
        arena_.resize(keyAt);
        return;
    }
    members_.push_back({static_cast<std::uint32_t>(keyAt),
                        static_cast<std::uint32_t>(escaped.size()),
                        static_cast<std::uint32_t>(valueAt), valueLength,
                        static_cast<std::uint32_t>(slot)});
    slots_[slot] = static_cast<std::uint32_t>(members_.size());
}

void JsonObjectSink::integerValue(std::string_view key, std::int64_t value)
{
    if (refused_ != 0 || outOfMemory_)
        return;
    try
    {
        const std::size_t valueAt = arena_.size();
        DecimalBuffer digits;
        arena_.append(decimalText(value, digits));
        commit(key, valueAt);
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
    }
}

void JsonObjectSink::textValue(std::string_view key, std::string_view value)
{
    if (refused_ != 0 || outOfMemory_)
        return;
    try
    {
        const std::size_t valueAt = arena_.size();
        arena_.push_back('"');
        highBytes_ |= appendJsonEscaped(arena_, value.empty() ? "NULL" : value);
        arena_.push_back('"');
        commit(key, valueAt);
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
    }
}

void JsonObjectSink::addParsed(char tag, const char* key,
                               std::string_view value)
{
    std::string text;
    try
    {
        text.push_back(tag);
        text.push_back(':');
        if (key != nullptr)
            text.append(key).push_back(':');
        text.append(value);
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
        return;
    }
    FieldParts parts{};
    if (const int32_t rc = parseFieldString(text.c_str(), parts); rc != 0)
    {
        if (refused_ == 0)
            refused_ = rc;
        return;
    }
    if (parts.tag.kind == ValueKind::Text)
        return textValue(parts.key, parts.value);
    integerValue(parts.key,
                 std::strtoll(parts.value, nullptr,
                              parts.tag.kind == ValueKind::Hex ? 16 : 10));
}

void JsonObjectSink::addInteger(const char* key, char tag, std::int64_t value)
{
    if (plainKey(key))
        return integerValue(key, value);
    DecimalBuffer digits;
    if (tag == 'd')
        return addParsed(tag, key, decimalText(value, digits));
    char hex[12];
    std::snprintf(hex, sizeof hex, "%x", static_cast<std::uint32_t>(value));
    addParsed(tag, key, hex);
}

void JsonObjectSink::integer(const char* key, std::int64_t value)
{
    addInteger(key, 'd', value);
}

void JsonObjectSink::bitWeight(const char* key, std::uint32_t weight)
{
    addInteger(key, 'x', weight);
}

void JsonObjectSink::text(const char* key, const char* value)
{
    if (value == nullptr)
        return;
    if (plainKey(key))
        textValue(key, value);
    else
        addParsed('s', key, value);
}

std::int64_t JsonObjectSink::finish(std::string& out)
{
    if (refused_ != 0)
        return refused_;
    if (outOfMemory_)
        return QVM_RC_NO_RESOURCES;
    const std::size_t start = out.size();
    try
    {
        out.push_back('{');
        const char* separator = "\n  \"";
        for (const Member& member : members_)
        {
            out.append(separator);
            separator = ",\n  \"";
            out.append(arena_, member.keyAt, member.keyLength);
            out.append("\": ");
            out.append(arena_, member.valueAt, member.valueLength);
        }
        out.append(members_.empty() ? "}" : "\n}");
    }
    catch (const std::bad_alloc&)
    {
        out.resize(start);
        return QVM_RC_NO_RESOURCES;
    }
    if (!highBytes_)
        return 0;
    const HeapString strict(
        strictJsonCopy(std::string_view(out).substr(start)));
    out.resize(start);
    if (!strict)
        return QVM_RC_NO_RESOURCES;
    try
    {
        out.append(strict.get());
    }
    catch (const std::bad_alloc&)
    {
        out.resize(start);
        return QVM_RC_NO_RESOURCES;
    }
    return 0;
}

} // namespace qvm
