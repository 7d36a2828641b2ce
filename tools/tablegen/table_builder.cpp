#include "tablegen/table_builder.hpp"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace tablegen
{

StructureBuilder::StructureBuilder(std::uint8_t type, std::uint8_t length,
                                   std::uint16_t handle)
    : formatted_(std::max<std::size_t>(length, 4), 0)
{
    formatted_[0] = type;
    formatted_[1] = length;
    put(2, handle, 2);
}

StructureBuilder& StructureBuilder::put(std::size_t offset, std::uint64_t value,
                                        std::size_t width)
{
    if (offset + width > formatted_.size())
        throw std::out_of_range("field past the formatted area");
    for (std::size_t i = 0; i < width; ++i)
        formatted_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return *this;
}

StructureBuilder& StructureBuilder::bytes(std::size_t offset,
                                          const Bytes& values)
{
    for (std::size_t i = 0; i < values.size(); ++i)
        put(offset + i, values[i], 1);
    return *this;
}

StructureBuilder& StructureBuilder::string(std::string text)
{
    strings_.push_back(std::move(text));
    return *this;
}

StructureBuilder& StructureBuilder::string(std::size_t offset, std::string text)
{
    string(std::move(text));
    return u8(offset, static_cast<std::uint8_t>(strings_.size()));
}

StructureBuilder& StructureBuilder::lengthByte(std::uint8_t value)
{
    formatted_[1] = value;
    return *this;
}

StructureBuilder& StructureBuilder::rawStrings(Bytes bytes)
{
    rawStrings_ = std::move(bytes);
    return *this;
}

Bytes StructureBuilder::build() const
{
    Bytes out = formatted_;
    if (rawStrings_)
    {
        out.insert(out.end(), rawStrings_->begin(), rawStrings_->end());
        return out;
    }
    for (const auto& text : strings_)
    {
        out.insert(out.end(), text.begin(), text.end());
        out.push_back(0);
    }
    // The set's final NUL; a set without strings is two NULs.
    if (strings_.empty())
        out.push_back(0);
    out.push_back(0);
    return out;
}

TableBuilder& TableBuilder::add(const StructureBuilder& structure)
{
    return raw(structure.build());
}

TableBuilder& TableBuilder::raw(const Bytes& bytes)
{
    offsets_.push_back(bytes_.size());
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

std::size_t TableBuilder::offsetOf(std::size_t index) const
{
    return offsets_.at(index);
}

bool writeFile(const Bytes& bytes, const char* path)
{
    std::FILE* out = std::fopen(path, "wb");
    if (out == nullptr)
        return false;
    const bool written =
        std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written;
}

} // namespace tablegen
