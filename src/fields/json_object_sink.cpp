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

} // namespace

void JsonObjectSink::reset() noexcept
{
    arena_.clear();
    members_.clear();
    std::fill(slots_.begin(), slots_.end(), 0U);
    refused_ = 0;
    outOfMemory_ = false;
}

std::string_view JsonObjectSink::keyOf(const Member& member) const
{
    return std::string_view(arena_).substr(member.keyAt, member.keyLength);
}

std::uint32_t& JsonObjectSink::slotFor(std::string_view key)
{
    const std::size_t mask = slots_.size() - 1;
    auto at = static_cast<std::size_t>(fnv1a(key)) & mask;
    while (slots_[at] != 0 && keyOf(members_[slots_[at] - 1]) != key)
        at = (at + 1) & mask;
    return slots_[at];
}

// Keeps the table at most half full.
void JsonObjectSink::grow()
{
    slots_.assign(std::max(kFirstSlots, 2 * slots_.size()), 0U);
    for (std::uint32_t i = 0; i < members_.size(); ++i)
        slotFor(keyOf(members_[i])) = i + 1;
}

void JsonObjectSink::add(std::string_view key, std::string_view json)
{
    if (refused_ != 0 || outOfMemory_)
        return;
    try
    {
        if (2 * (members_.size() + 1) > slots_.size())
            grow();
        const auto valueAt = static_cast<std::uint32_t>(arena_.size());
        arena_.append(json);
        const Member value{0, 0, valueAt,
                           static_cast<std::uint32_t>(json.size())};
        std::uint32_t& slot = slotFor(key);
        if (slot != 0)
        {
            members_[slot - 1].valueAt = value.valueAt;
            members_[slot - 1].valueLength = value.valueLength;
            return;
        }
        const auto keyAt = static_cast<std::uint32_t>(arena_.size());
        arena_.append(key);
        members_.push_back({keyAt, static_cast<std::uint32_t>(key.size()),
                            value.valueAt, value.valueLength});
        slot = static_cast<std::uint32_t>(members_.size());
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
    }
}

void JsonObjectSink::addString(std::string_view key, std::string_view value)
{
    try
    {
        scratch_.assign(1, '"');
        appendJsonEscaped(scratch_, value.empty() ? "NULL" : value);
        scratch_.push_back('"');
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
        return;
    }
    add(key, scratch_);
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
        return addString(parts.key, parts.value);
    DecimalBuffer digits;
    add(parts.key,
        decimalText(std::strtoll(parts.value, nullptr,
                                 parts.tag.kind == ValueKind::Hex ? 16 : 10),
                    digits));
}

void JsonObjectSink::addInteger(const char* key, char tag, std::int64_t value)
{
    DecimalBuffer digits;
    if (plainKey(key))
        return add(key, decimalText(value, digits));
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
        addString(key, value);
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
        for (const Member& member : members_)
        {
            out += out.size() == start + 1 ? "\n  \"" : ",\n  \"";
            appendJsonEscaped(out, keyOf(member));
            out += "\": ";
            out.append(arena_, member.valueAt, member.valueLength);
        }
        out += members_.empty() ? "}" : "\n}";
    }
    catch (const std::bad_alloc&)
    {
        out.resize(start);
        return QVM_RC_NO_RESOURCES;
    }
    const std::string_view written = std::string_view(out).substr(start);
    if (std::all_of(written.begin(), written.end(),
                    [](char c) { return (c & 0x80) == 0; }))
        return 0;
    const HeapString strict(strictJsonCopy(written));
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
