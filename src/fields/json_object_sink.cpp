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

constexpr std::size_t kFirstSlots = 64;
// Known keys: a two-way set-associative table; its texts are dropped all at
// once when they outgrow their room (keys written into a reused buffer, such as
// the offsets of hex lines, each leave a text behind).
constexpr std::size_t kKnownKeys = 512;
constexpr std::size_t kKnownText = 64 * 1024;
constexpr std::size_t kFirstText = 4096;
constexpr std::uint64_t kMemberBits = 0xFFFFFFFFULL;

// json-c's pretty layout around a member. Both openings have the same
// length, so that each is one fixed-size copy.
constexpr std::string_view kFirstMember = "{\n  \"";
constexpr std::string_view kNextMember = ",\n  \"";
static_assert(kFirstMember.size() == kNextMember.size());
constexpr std::string_view kAfterKey = "\": ";
constexpr std::string_view kClose = "\n}";

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

char* put(char* at, std::string_view text) noexcept
{
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

template <std::size_t N> char* putFixed(char* at, const char* text) noexcept
{
    std::memcpy(at, text, N);
    return at + N;
}

std::size_t knownSlot(const char* key) noexcept
{
    const auto address =
        static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key));
    return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ULL) >> 54) &
           (kKnownKeys - 1);
}

} // namespace

void JsonObjectSink::reset() noexcept
{
    for (const Member& member : members_)
        slots_[member.slot] = 0;
    text_.resize(0);
    repeats_.resize(0);
    members_.clear();
    refused_ = 0;
    outOfMemory_ = false;
    highBytes_ = false;
    repeated_ = false;
}

char* JsonObjectSink::Buffer::room(std::size_t bytes) noexcept
{
    if (capacity_ - size_ >= bytes)
        return data_.get() + size_;
    const std::size_t wanted =
        std::max({kFirstText, 2 * capacity_, size_ + bytes});
    auto* grown = static_cast<char*>(std::realloc(data_.get(), wanted));
    if (grown == nullptr)
        return nullptr;
    (void)data_.release();
    data_.reset(grown);
    capacity_ = wanted;
    return grown + size_;
}

std::string_view JsonObjectSink::keyOf(const Member& member) const noexcept
{
    return {text_.data() + member.keyAt, member.keyLength};
}

std::size_t JsonObjectSink::slotFor(std::string_view escapedKey,
                                    std::uint64_t hash) const noexcept
{
    const std::size_t mask = slots_.size() - 1;
    const std::uint64_t tag = hash & ~kMemberBits;
    for (auto at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask)
    {
        const std::uint64_t slot = slots_[at];
        if (slot == 0 ||
            ((slot & ~kMemberBits) == tag &&
             keyOf(
                 members_[static_cast<std::size_t>(slot & kMemberBits) - 1]) ==
                 escapedKey))
            return at;
    }
}

// Keeps the table at most half full.
void JsonObjectSink::grow()
{
    slots_.assign(std::max(kFirstSlots, 2 * slots_.size()), 0U);
    for (std::size_t i = 0; i < members_.size(); ++i)
    {
        const std::string_view key = keyOf(members_[i]);
        const std::uint64_t hash = quickHash(key);
        members_[i].slot = static_cast<std::uint32_t>(slotFor(key, hash));
        slots_[members_[i].slot] = (hash & ~kMemberBits) | (i + 1);
    }
}

// Keys compare as escaped text: escaping maps different keys to different
// texts, so a key repeats exactly when its escaped text does. The key is
// written where a new member would go and taken back when it repeats.
bool JsonObjectSink::plainKey(const char* key, Key& out)
{
    if (key == nullptr)
        return false;
    if (known_.empty())
    {
        try
        {
            known_.resize(kKnownKeys);
        }
        catch (const std::bad_alloc&)
        {
            outOfMemory_ = true; // the field is dropped
            return true;
        }
    }
    // Two ways per set, the one used last in front.
    KnownKey* const set = &known_[knownSlot(key) & ~std::size_t{1}];
    const char* const texts = keys_.data();
    const auto holds = [&](const KnownKey& known)
    {
        return known.address == key &&
               std::strncmp(key, texts + known.at, known.length) == 0 &&
               key[known.length] == '\0';
    };
    const bool first = holds(set[0]);
    if (!first)
        std::swap(set[0], set[1]);
    KnownKey& entry = set[0];
    if (first || holds(entry))
    {
        out = {{texts + entry.at + entry.length, entry.escapedLength},
               entry.hash,
               entry.high};
        return true;
    }
    const std::string_view raw(key);
    if (raw.size() > kMaxKey || raw.find(':') != raw.npos)
        return false;
    if (keys_.size() > kKnownText)
    {
        for (KnownKey& known : known_)
            known.address = nullptr;
        keys_.resize(0);
    }
    char* const at = keys_.room((1 + kEscapeGrowth) * raw.size());
    if (at == nullptr)
    {
        outOfMemory_ = true;
        return true;
    }
    bool high = false;
    char* const escaped = put(at, raw);
    char* const end = writeJsonEscaped(escaped, raw, high);
    const std::string_view text(escaped,
                                static_cast<std::size_t>(end - escaped));
    entry = {key,
             quickHash(text),
             static_cast<std::uint32_t>(keys_.size()),
             static_cast<std::uint32_t>(raw.size()),
             static_cast<std::uint32_t>(text.size()),
             high};
    keys_.endAt(end);
    out = {text, entry.hash, high};
    return true;
}

JsonObjectSink::Key JsonObjectSink::parsedKey(std::string_view key)
{
    char* const at = scratch_.room(kEscapeGrowth * key.size());
    if (at == nullptr)
    {
        outOfMemory_ = true;
        return {};
    }
    bool high = false;
    const std::string_view text(
        at, static_cast<std::size_t>(writeJsonEscaped(at, key, high) - at));
    return {text, quickHash(text), high};
}

// Keys compare as escaped text: escaping maps different keys to different
// texts, so a key repeats exactly when its escaped text does.
char* JsonObjectSink::startField(const Key& key, std::size_t valueRoom)
{
    if (refused_ != 0 || outOfMemory_)
        return nullptr;
    char* at = text_.room(kFirstMember.size() + key.escaped.size() +
                          kAfterKey.size() + valueRoom);
    if (at == nullptr)
    {
        outOfMemory_ = true;
        return nullptr;
    }
    try
    {
        if (2 * (members_.size() + 1) > slots_.size())
            grow();
        const std::size_t slot = slotFor(key.escaped, key.hash);
        if (slots_[slot] != 0)
        {
            field_ =
                &members_[static_cast<std::size_t>(slots_[slot] & kMemberBits) -
                          1];
            fieldRepeats_ = repeated_ = true;
            highBytes_ |= key.high;
            char* const last = repeats_.room(valueRoom);
            if (last == nullptr)
                outOfMemory_ = true;
            return last;
        }
        at = putFixed<kFirstMember.size()>(
            at, members_.empty() ? kFirstMember.data() : kNextMember.data());
        members_.push_back({static_cast<std::uint32_t>(at - text_.data()),
                            static_cast<std::uint32_t>(key.escaped.size()), 0,
                            0, static_cast<std::uint32_t>(slot), false, 0, 0});
        slots_[slot] = (key.hash & ~kMemberBits) | members_.size();
    }
    catch (const std::bad_alloc&)
    {
        outOfMemory_ = true;
        return nullptr;
    }
    highBytes_ |= key.high;
    at = putFixed<kAfterKey.size()>(put(at, key.escaped), kAfterKey.data());
    field_ = &members_.back();
    fieldRepeats_ = false;
    field_->valueAt = static_cast<std::uint32_t>(at - text_.data());
    return at;
}

void JsonObjectSink::endField(const char* end) noexcept
{
    Buffer& buffer = fieldRepeats_ ? repeats_ : text_;
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

void JsonObjectSink::integerValue(const Key& key, std::int64_t value)
{
    if (char* at = startField(key, kDecimalRoom))
        endField(writeDecimal(at, value));
}

void JsonObjectSink::textValue(const Key& key, std::string_view value)
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

void JsonObjectSink::literalValue(const Key& key, std::string_view json)
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
    const Key parsed = parsedKey(parts.key);
    if (parts.tag.kind == ValueKind::Text)
        return textValue(parsed, parts.value);
    integerValue(parsed,
                 std::strtoll(parts.value, nullptr,
                              parts.tag.kind == ValueKind::Hex ? 16 : 10));
}

void JsonObjectSink::addInteger(const char* key, char tag, std::int64_t value)
{
    Key plain;
    if (plainKey(key, plain))
        return integerValue(plain, value);
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
    Key plain;
    if (plainKey(key, plain))
        textValue(plain, value);
    else
        addParsed('s', key, value);
}

void JsonObjectSink::flag(const char* key, bool set)
{
    Key plain;
    if (!plainKey(key, plain))
        return text(key, set ? "True" : "False");
    literalValue(plain, set ? "\"True\"" : "\"False\"");
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
