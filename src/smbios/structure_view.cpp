#include "smbios/structure_view.hpp"

#include "smbios/little_endian.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qvm::smbios
{

const std::uint8_t* FieldBytes::data() const noexcept
{
    if (failed_)
        return nullptr;
    if (direct_ != nullptr)
        return direct_;
    return heap_ ? heap_.get() : inline_.data();
}

StructureView::StructureView(std::span<const std::uint8_t> bytes) noexcept
    : bytes_(bytes)
{
    if (bytes_.size() < kHeaderSize || bytes_[1] < kHeaderSize)
        return;
    formatted_ = std::min<std::size_t>(bytes_[1], bytes_.size());
}

StructureView StructureView::formattedOnly() const noexcept
{
    StructureView clipped = *this;
    clipped.clipped_ = true;
    return clipped;
}

std::size_t StructureView::readable() const noexcept
{
    if (!valid())
        return 0;
    return clipped_ ? formatted_ : bytes_.size();
}

// Offsets come from table bytes and mappings; offset + i never wraps
// because offset is checked against the readable span first.
std::uint64_t StructureView::read(std::size_t offset,
                                  std::size_t width) const noexcept
{
    const std::size_t end = readable();
    if (offset >= end)
        return 0;
    const std::size_t available = std::min(width, end - offset);
    return readLittleEndian(bytes_.subspan(offset, available));
}

std::uint8_t StructureView::byte(std::size_t offset) const noexcept
{
    return static_cast<std::uint8_t>(read(offset, 1));
}

std::uint16_t StructureView::word(std::size_t offset) const noexcept
{
    return static_cast<std::uint16_t>(read(offset, 2));
}

std::uint32_t StructureView::dword(std::size_t offset) const noexcept
{
    return static_cast<std::uint32_t>(read(offset, 4));
}

std::uint64_t StructureView::qword(std::size_t offset) const noexcept
{
    return read(offset, 8);
}

FieldBytes StructureView::field(std::size_t offset,
                                std::size_t width) const noexcept
{
    FieldBytes field;
    field.size_ = width;
    const std::size_t end = readable();
    const bool inside = offset <= end && width <= end - offset;
    if (width != 0 && inside)
    {
        field.direct_ = bytes_.data() + offset;
        return field;
    }
    std::uint8_t* copy = field.inline_.data();
    if (width > FieldBytes::kInline)
    {
        field.heap_.reset(static_cast<std::uint8_t*>(std::calloc(width, 1)));
        if (!field.heap_)
        {
            field.failed_ = true;
            return field;
        }
        copy = field.heap_.get();
    }
    if (offset < end)
        std::memcpy(copy, bytes_.data() + offset,
                    std::min(width, end - offset));
    return field;
}

// Walks the string set string by string. Only a string whose NUL lies in
// the buffer is handed out; a set that runs off the buffer ends with
// neither a text nor a next structure.
StringLookup StructureView::lookup(std::uint16_t number) const noexcept
{
    StringLookup result;
    if (!valid())
        return result;
    const std::uint8_t* base = bytes_.data();
    const std::size_t end = bytes_.size();
    std::size_t pos = length();
    for (std::uint32_t index = 1; pos < end; ++index)
    {
        const auto* nul = static_cast<const std::uint8_t*>(
            std::memchr(base + pos, 0, end - pos));
        if (nul == nullptr)
            return result;
        if (index == number)
        {
            result.text = reinterpret_cast<const char*>(base + pos);
            return result;
        }
        const auto terminator = static_cast<std::size_t>(nul - base);
        if (terminator + 1 >= end)
            return result;
        if (base[terminator + 1] == 0)
        {
            result.next = terminator + 2;
            return result;
        }
        pos = terminator + 1;
    }
    return result;
}

const char* StructureView::string(std::uint16_t number) const noexcept
{
    return number == 0 ? nullptr : lookup(number).text;
}

std::optional<std::size_t> StructureView::wholeSize() const noexcept
{
    const auto next = lookup(0).next;
    if (next && *next > kMaxWholeSize)
        return std::nullopt;
    return next;
}

std::span<const std::uint8_t> StructureView::whole() const noexcept
{
    const auto size = wholeSize();
    return size ? bytes_.first(*size) : std::span<const std::uint8_t>{};
}

} // namespace qvm::smbios
