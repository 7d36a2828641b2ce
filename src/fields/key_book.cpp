#include "fields/key_book.hpp"

#include "common/read_only.hpp"
#include "fields/field_string.hpp"
#include "fields/json_escape.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace qvm
{
namespace
{

constexpr std::size_t kFirstSlots = 256;
constexpr std::size_t kTextRoom = 64 * 1024;
constexpr std::uint64_t kNumberBits = 0xFFFFFFFFULL;

// json-c's pretty layout around a member's key. The first member opens
// with "{" instead of ",", which the writer puts in its place.
constexpr std::string_view kBeforeKey = ",\n  \"";
constexpr std::string_view kAfterKey = "\": ";

// Length and the first and last eight bytes (the bytes of a shorter key):
// cheap, and enough to tell apart the keys of a program.
std::uint64_t quickHash(std::string_view key) noexcept
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

// A key the address cache does not hold.
KeyBook::Found KeyBook::findText(const char* key, const Entry*& entry) noexcept
{
    if (key == nullptr)
        return Found::notPlain;
    if (byAddress_.empty())
    {
        try
        {
            byAddress_.resize(std::size_t{1} << kAddressBits);
        }
        catch (const std::bad_alloc&)
        {
            return Found::noMemory;
        }
    }
    const std::string_view text(key);
    if (text.size() > kMaxKey || text.find(':') != text.npos)
        return Found::notPlain;
    entry = byText(text);
    if (entry == nullptr)
        return Found::noMemory;
    if (inReadOnlyImage(key))
        byAddress_[addressSlot(key, kAddressBits)] = {key, entry->number};
    return Found::entry;
}

KeyBook::Found KeyBook::find(std::string_view key, const Entry*& entry) noexcept
{
    entry = byText(key);
    return entry != nullptr ? Found::entry : Found::noMemory;
}

const KeyBook::Entry* KeyBook::byText(std::string_view key) noexcept
{
    if (2 * (entries_.size() + 1) > slots_.size() && !grow())
        return nullptr;
    const std::uint64_t hash = quickHash(key);
    const std::uint64_t tag = hash & ~kNumberBits;
    const std::size_t mask = slots_.size() - 1;
    for (auto at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask)
    {
        const std::uint64_t slot = slots_[at];
        if (slot == 0)
        {
            const Entry* const entry = added(key);
            if (entry != nullptr)
                slots_[at] = tag | (entry->number + 1);
            return entry;
        }
        const Entry& entry =
            entries_[static_cast<std::size_t>(slot & kNumberBits) - 1];
        if ((slot & ~kNumberBits) == tag && raw(entry) == key)
            return &entry;
    }
}

const KeyBook::Entry* KeyBook::added(std::string_view key) noexcept
{
    char* const at =
        texts_.room(key.size() + kBeforeKey.size() +
                    kEscapeGrowth * key.size() + kAfterKey.size() + kOverCopy);
    if (at == nullptr)
        return nullptr;
    std::memcpy(at, key.data(), key.size());
    char* const opening = at + key.size();
    bool high = false;
    std::memcpy(opening, kBeforeKey.data(), kBeforeKey.size());
    char* end = writeJsonEscaped(opening + kBeforeKey.size(), key, high);
    std::memcpy(end, kAfterKey.data(), kAfterKey.size());
    end += kAfterKey.size();
    try
    {
        entries_.push_back({static_cast<std::uint32_t>(entries_.size()),
                            static_cast<std::uint32_t>(texts_.size()),
                            static_cast<std::uint32_t>(key.size()),
                            static_cast<std::uint32_t>(end - opening), high});
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
    texts_.endAt(end);
    return &entries_.back();
}

// Keeps the table at most half full.
bool KeyBook::grow() noexcept
{
    try
    {
        std::vector<std::uint64_t>(std::max(kFirstSlots, 2 * slots_.size()))
            .swap(slots_);
    }
    catch (const std::bad_alloc&)
    {
        return false;
    }
    const std::size_t mask = slots_.size() - 1;
    for (const Entry& entry : entries_)
    {
        const std::uint64_t hash = quickHash(raw(entry));
        auto at = static_cast<std::size_t>(hash) & mask;
        while (slots_[at] != 0)
            at = (at + 1) & mask;
        slots_[at] = (hash & ~kNumberBits) | (entry.number + 1);
    }
    return true;
}

bool KeyBook::full() const noexcept
{
    return texts_.size() > kTextRoom;
}

void KeyBook::clear() noexcept
{
    texts_.resize(0);
    entries_.clear();
    std::fill(slots_.begin(), slots_.end(), 0U);
    std::fill(byAddress_.begin(), byAddress_.end(), ByAddress{});
}

} // namespace qvm
