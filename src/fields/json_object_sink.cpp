#include "fields/json_object_sink.hpp"

#include "common/text.hpp"
#include "fields/field_string.hpp"
#include "fields/json_escape.hpp"
#include "fields/json_text.hpp"
#include "qvmclient.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace qvm
{
namespace
{

constexpr std::string_view kClose = "\n}";

char* put(char* at, std::string_view text) noexcept
{
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

} // namespace

void JsonObjectSink::reset() noexcept
{
    text_.resize(0);
    repeats_.resize(0);
    members_.clear();
    refused_ = 0;
    outOfMemory_ = false;
    highBytes_ = false;
    repeated_ = false;
    // A new generation empties seen_ without touching it; only when the
    // count wraps, or the keys' numbers start again, is it cleared.
    if (keys_.full())
    {
        keys_.clear();
        seen_.clear();
    }
    if (++generation_ == 0)
    {
        std::fill(seen_.begin(), seen_.end(), Seen{});
        generation_ = 1;
    }
}

const KeyBook::Entry* JsonObjectSink::plainKey(const char* key,
                                               bool& dropped) noexcept
{
    const KeyBook::Entry* entry = nullptr;
    const KeyBook::Found found = keys_.find(key, entry);
    dropped = found == KeyBook::Found::noMemory;
    if (dropped)
        outOfMemory_ = true;
    return found == KeyBook::Found::entry ? entry : nullptr;
}

char* JsonObjectSink::startField(const KeyBook::Entry& key,
                                 std::size_t valueRoom)
{
    if (refused_ != 0 || outOfMemory_)
        return nullptr;
    if (key.number >= seen_.size())
    {
        try
        {
            seen_.resize(std::max<std::size_t>(2 * seen_.size(),
                                               keys_.count()));
        }
        catch (const std::bad_alloc&)
        {
            outOfMemory_ = true;
            return nullptr;
        }
    }
    highBytes_ |= key.high;
    Seen& seen = seen_[key.number];
    if (seen.generation == generation_)
    {
        field_ = &members_[seen.member];
        fieldRepeats_ = repeated_ = true;
        char* const last = repeats_.room(valueRoom);
        if (last == nullptr)
            outOfMemory_ = true;
        return last;
    }
    const std::string_view opening = keys_.opening(key);
    char* at = text_.room(opening.size() + valueRoom);
    if (at == nullptr)
    {
        outOfMemory_ = true;
        return nullptr;
    }
    try
    {
        members_.push_back({});
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
        return nullptr;
    }
    if (members_.size() == 1)
    {
        *at = '{';
        at = put(at + 1, opening.substr(1));
    }
    else
        at = put(at, opening);
    seen = {generation_, static_cast<std::uint32_t>(members_.size() - 1)};
    field_ = &members_.back();
    fieldRepeats_ = false;
    field_->valueAt = static_cast<std::uint32_t>(at - text_.data());
    return at;
}

void JsonObjectSink::endField(const char* end) noexcept
{
    TextBuffer& buffer = fieldRepeats_ ? repeats_ : text_;
    const std::size_t start = fieldRepeats_ ? buffer.size() : field_->valueAt;
    const auto length = static_cast<std::uint32_t>(end - buffer.data() - start);
    if (fieldRepeats_)
    {
        field_->repeated = true;
        field_->lastAt = static_cast<std::uint32_t>(start);
        field_->lastLength = length;
    }
    else
        field_->valueLength = length;
    buffer.endAt(end);
}

void JsonObjectSink::integerValue(const KeyBook::Entry& key, std::int64_t value)
{
    if (char* at = startField(key, kDecimalRoom))
        endField(writeDecimal(at, value));
}

void JsonObjectSink::textValue(const KeyBook::Entry& key, std::string_view value)
{
    if (value.empty())
        value = "NULL";
    char* at = startField(key, kEscapeGrowth * value.size() + 2);
    if (at == nullptr)
        return;
    *at++ = '"';
    at = writeJsonEscaped(at, value, highBytes_);
    *at++ = '"';
    endField(at);
}

void JsonObjectSink::literalValue(const KeyBook::Entry& key, std::string_view json)
{
    if (char* at = startField(key, json.size()))
        endField(put(at, json));
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
    const KeyBook::Entry* parsed = nullptr;
    if (keys_.find(parts.key, parsed) != KeyBook::Found::entry)
    {
        outOfMemory_ = true;
        return;
    }
    if (parts.tag.kind == ValueKind::Text)
        return textValue(*parsed, parts.value);
    integerValue(*parsed,
                 std::strtoll(parts.value, nullptr,
                              parts.tag.kind == ValueKind::Hex ? 16 : 10));
}

void JsonObjectSink::addInteger(const char* key, char tag, std::int64_t value)
{
    bool dropped = false;
    if (const KeyBook::Entry* plain = plainKey(key, dropped))
        return integerValue(*plain, value);
    if (dropped)
        return;
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

// The signed number of the same 64 bits, as FieldSink says, without a
// second call through the table.
void JsonObjectSink::unsignedInteger(const char* key, std::uint64_t value)
{
    addInteger(key, 'd', static_cast<std::int64_t>(value));
}

void JsonObjectSink::bitWeight(const char* key, std::uint32_t weight)
{
    addInteger(key, 'x', weight);
}

void JsonObjectSink::text(const char* key, const char* value)
{
    if (value == nullptr)
        return;
    bool dropped = false;
    if (const KeyBook::Entry* plain = plainKey(key, dropped))
        textValue(*plain, value);
    else if (!dropped)
        addParsed('s', key, value);
}

void JsonObjectSink::flag(const char* key, bool set)
{
    bool dropped = false;
    if (const KeyBook::Entry* plain = plainKey(key, dropped))
        literalValue(*plain, set ? "\"True\"" : "\"False\"");
    else if (!dropped)
        addParsed('s', key, set ? "True" : "False");
}

// The first text with each repeated member's value replaced by its last.
std::int64_t JsonObjectSink::withLastValues(std::string_view& text)
{
    try
    {
        rewritten_.clear();
        std::size_t copied = 0;
        for (const Member& member : members_)
        {
            if (!member.repeated)
                continue;
            rewritten_.append(text_.data() + copied, member.valueAt - copied);
            rewritten_.append(repeats_.data() + member.lastAt,
                              member.lastLength);
            copied = member.valueAt + member.valueLength;
        }
        rewritten_.append(text_.data() + copied, text.size() - copied);
    }
    catch (const std::bad_alloc&)
    {
        return QVM_RC_NO_RESOURCES;
    }
    text = rewritten_;
    return 0;
}

std::int64_t JsonObjectSink::madeStrict(std::string_view& text)
{
    const HeapString strict(strictJsonCopy(text));
    if (!strict)
        return QVM_RC_NO_RESOURCES;
    try
    {
        rewritten_.assign(strict.get());
    }
    catch (const std::bad_alloc&)
    {
        return QVM_RC_NO_RESOURCES;
    }
    text = rewritten_;
    return 0;
}

std::int64_t JsonObjectSink::finish(std::string_view& text)
{
    if (refused_ != 0)
        return refused_;
    if (outOfMemory_)
        return QVM_RC_NO_RESOURCES;
    if (members_.empty())
    {
        text = "{}";
        return 0;
    }
    // The close goes after the text without becoming part of it, so that
    // finishing twice gives the same text.
    char* at = text_.room(kClose.size());
    if (at == nullptr)
        return QVM_RC_NO_RESOURCES;
    put(at, kClose);
    text = {text_.data(), text_.size() + kClose.size()};
    if (repeated_)
    {
        if (const std::int64_t status = withLastValues(text); status != 0)
            return status;
    }
    return highBytes_ ? madeStrict(text) : 0;
}

std::int64_t JsonObjectSink::finish(std::string& out)
{
    std::string_view text;
    if (const std::int64_t status = finish(text); status != 0)
        return status;
    try
    {
        out.append(text);
    }
    catch (const std::bad_alloc&)
    {
        return QVM_RC_NO_RESOURCES;
    }
    return 0;
}

} // namespace qvm
