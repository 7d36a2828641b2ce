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

// Copies a member's opening (never empty) in whole blocks, inline, the last
// block running past its end (both sides have kOverCopy bytes of room
// there): cheaper than a call for texts this short.
char* copyOver(char* at, std::string_view text) noexcept
{
    std::memcpy(at, text.data(), kOverCopy);
    for (std::size_t done = kOverCopy; done < text.size(); done += kOverCopy)
        std::memcpy(at + done, text.data() + done, kOverCopy);
    return at + text.size();
}

} // namespace

void JsonObjectSink::reset() noexcept
{
    text_.resize(0);
    repeats_.resize(0);
    repeatedKeys_.clear();
    refused_ = 0;
    outOfMemory_ = false;
    highBytes_ = false;
    // A new generation empties seen_ without touching it; only when the
    // count wraps, or the keys' numbers start again, is it cleared.
    if (keys_.full())
    {
        keys_.clear();
        seen_.clear();
    }
    if (values_.full())
        values_.clear();
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

// A key that came before in this object: its value goes to repeats_.
char* JsonObjectSink::repeatField(Seen& seen, std::uint32_t key,
                                  std::size_t valueRoom)
{
    if (seen.lastAt == kNotRepeated)
    {
        try
        {
            repeatedKeys_.push_back(key);
        }
        catch (const std::bad_alloc&)
        {
            outOfMemory_ = true;
            return nullptr;
        }
    }
    field_ = &seen;
    fieldRepeats_ = true;
    char* const last = repeats_.room(valueRoom);
    if (last == nullptr)
        outOfMemory_ = true;
    return last;
}

bool JsonObjectSink::seenRoom() noexcept
{
    try
    {
        seen_.resize(std::max<std::size_t>(2 * seen_.size(), keys_.count()));
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
        return false;
    }
    return true;
}

char* JsonObjectSink::startField(const KeyBook::Entry& key,
                                 std::size_t valueRoom)
{
    if (refused_ != 0 || outOfMemory_)
        return nullptr;
    if (key.number >= seen_.size() && !seenRoom())
        return nullptr;
    highBytes_ |= key.high;
    Seen& seen = seen_[key.number];
    if (seen.generation == generation_)
        return repeatField(seen, key.number, valueRoom);
    const std::string_view opening = keys_.opening(key);
    char* at = text_.room(opening.size() + kOverCopy + valueRoom);
    if (at == nullptr)
    {
        outOfMemory_ = true;
        return nullptr;
    }
    const bool first = text_.size() == 0;
    at = copyOver(at, opening);
    if (first)
        *text_.data() = '{';
    const auto valueAt = static_cast<std::uint32_t>(at - text_.data());
    seen = {generation_, valueAt, 0, kNotRepeated, 0};
    field_ = &seen;
    fieldRepeats_ = false;
    return at;
}

void JsonObjectSink::endField(const char* end) noexcept
{
    if (fieldRepeats_)
    {
        field_->lastAt = static_cast<std::uint32_t>(repeats_.size());
        field_->lastLength =
            static_cast<std::uint32_t>(end - repeats_.data()) - field_->lastAt;
        repeats_.endAt(end);
    }
    else
    {
        field_->valueLength =
            static_cast<std::uint32_t>(end - text_.data()) - field_->valueAt;
        text_.endAt(end);
    }
}

void JsonObjectSink::integerValue(const KeyBook::Entry& key, std::int64_t value)
{
    char* const at = startField(key, kDecimalRoom);
    if (at == nullptr)
        return;
    // Most numbers are a single digit; those skip the call.
    if (value >= 0 && value < 10)
    {
        *at = static_cast<char>('0' + value);
        return endField(at + 1);
    }
    endField(writeDecimal(at, value));
}

void JsonObjectSink::textValue(const KeyBook::Entry& key,
                               std::string_view value)
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

void JsonObjectSink::literalValue(const KeyBook::Entry& key,
                                  std::string_view json)
{
    if (char* at = startField(key, json.size()))
        endField(put(at, json));
}

// json may be read in kOverCopy blocks.
void JsonObjectSink::paddedValue(const KeyBook::Entry& key,
                                 std::string_view json)
{
    if (char* at = startField(key, json.size() + kOverCopy))
        endField(copyOver(at, json));
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
    const KeyBook::Entry* plain = plainKey(key, dropped);
    if (plain == nullptr)
    {
        if (!dropped)
            addParsed('s', key, value);
        return;
    }
    if (const ConstantValues::Value* constant = values_.find(value))
    {
        highBytes_ |= constant->high;
        return paddedValue(*plain, values_.json(*constant));
    }
    textValue(*plain, value);
}

void JsonObjectSink::flag(const char* key, bool set)
{
    bool dropped = false;
    if (const KeyBook::Entry* plain = plainKey(key, dropped))
        literalValue(*plain, set ? "\"True\"" : "\"False\"");
    else if (!dropped)
        addParsed('s', key, set ? "True" : "False");
}

// The first text with each repeated member's value replaced by its last,
// the members in the order they stand in the text.
std::int64_t JsonObjectSink::withLastValues(std::string_view& text)
{
    std::sort(repeatedKeys_.begin(), repeatedKeys_.end(),
              [&](std::uint32_t a, std::uint32_t b)
              { return seen_[a].valueAt < seen_[b].valueAt; });
    try
    {
        rewritten_.clear();
        std::size_t copied = 0;
        for (const std::uint32_t key : repeatedKeys_)
        {
            const Seen& member = seen_[key];
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
    if (text_.size() == 0)
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
    if (!repeatedKeys_.empty())
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
