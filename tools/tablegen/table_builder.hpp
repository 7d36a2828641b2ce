// Builds SMBIOS structure tables byte by byte, well-formed or hostile: the
// tests' tables and the bundled sample table both come from here.
//
//     auto table = tablegen::TableBuilder()
//         .add(tablegen::StructureBuilder(0, 0x18, 0x0000)
//                  .string(4, "Vendor")
//                  .string(5, "1.2.3")
//                  .u8(20, 2).u8(21, 8))
//         .add(tablegen::StructureBuilder(127, 4, 0xFEFF));
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tablegen
{

using Bytes = std::vector<std::uint8_t>;

// Handles: the structure type in the high byte, the instance in the low.
constexpr std::uint16_t handle(std::uint8_t type, int instance = 0)
{
    return static_cast<std::uint16_t>(type << 8 | instance);
}

// One structure: formatted area (header included) and string set.
class StructureBuilder
{
  public:
    // Formatted bytes start zero; the area is at least the 4 header bytes
    // even when length says less.
    StructureBuilder(std::uint8_t type, std::uint8_t length,
                     std::uint16_t handle);

    // Little-endian field setters inside the formatted area (throw
    // std::out_of_range past it).
    StructureBuilder& u8(std::size_t offset, std::uint8_t value)
    {
        return put(offset, value, 1);
    }
    StructureBuilder& u16(std::size_t offset, std::uint16_t value)
    {
        return put(offset, value, 2);
    }
    StructureBuilder& u32(std::size_t offset, std::uint32_t value)
    {
        return put(offset, value, 4);
    }
    StructureBuilder& u64(std::size_t offset, std::uint64_t value)
    {
        return put(offset, value, 8);
    }
    StructureBuilder& bytes(std::size_t offset, const Bytes& values);

    // Appends a string; strings are numbered from 1 in the order added.
    StructureBuilder& string(std::string text);
    // Appends a string and stores its number at offset.
    StructureBuilder& string(std::size_t offset, std::string text);

    // Hostile shapes. lengthByte rewrites byte 1 only; rawStrings replaces
    // the whole string set, final NULs included, by the bytes given.
    StructureBuilder& lengthByte(std::uint8_t value);
    StructureBuilder& rawStrings(Bytes bytes);

    Bytes build() const;
    // Whole size: formatted area plus string set.
    std::size_t size() const { return build().size(); }

  private:
    StructureBuilder& put(std::size_t offset, std::uint64_t value,
                          std::size_t width);

    Bytes formatted_;
    std::vector<std::string> strings_;
    std::optional<Bytes> rawStrings_;
};

// A table: structures and raw bytes in order.
class TableBuilder
{
  public:
    TableBuilder& add(const StructureBuilder& structure);
    TableBuilder& raw(const Bytes& bytes);
    // Start of the piece added at index (structures and raw pieces count).
    std::size_t offsetOf(std::size_t index) const;
    Bytes build() const { return bytes_; }
    std::size_t size() const { return bytes_.size(); }
    // Structures and raw pieces added so far.
    std::size_t count() const { return offsets_.size(); }

  private:
    Bytes bytes_;
    std::vector<std::size_t> offsets_;
};

// Writes bytes to a new or truncated file; false, with errno set, when the
// file cannot be written whole.
bool writeFile(const Bytes& bytes, const char* path);

} // namespace tablegen
