#include "fields/constant_values.hpp"

#include "fields/json_escape.hpp"
#include "fields/key_book.hpp"

#include <algorithm>
#include <cstring>
#include <new>

namespace qvm
{
namespace
{

constexpr std::size_t kTextRoom = 64 * 1024;

} // namespace

const ConstantValues::Value* ConstantValues::added(const char* value) noexcept
{
    if (value == nullptr || !inReadOnlyImage(value))
        return nullptr;
    if (byAddress_.empty())
    {
        try
        {
            byAddress_.resize(std::size_t{1} << kAddressBits);
        }
        catch (const std::bad_alloc&)
        {
            return nullptr;
        }
    }
    std::string_view text(value);
    if (text.empty())
        text = "NULL";
    char* const at = texts_.room(kEscapeGrowth * text.size() + 2 + kOverCopy);
    if (at == nullptr)
        return nullptr;
    bool high = false;
    char* end = at;
    *end++ = '"';
    end = writeJsonEscaped(end, text, high);
    *end++ = '"';
    Value& slot = byAddress_[addressSlot(value, kAddressBits)];
    slot = {value, static_cast<std::uint32_t>(texts_.size()),
            static_cast<std::uint32_t>(end - at), high};
    texts_.endAt(end);
    return &slot;
}

bool ConstantValues::full() const noexcept
{
    return texts_.size() > kTextRoom;
}

void ConstantValues::clear() noexcept
{
    texts_.resize(0);
    std::fill(byAddress_.begin(), byAddress_.end(), Value{});
}

} // namespace qvm
