// Bounded reading of one SMBIOS structure.
//
// The table comes from the managed host, which the BMC does not control, so
// every byte of it is untrusted. StructureView is the one place where the
// bytes of a structure are read; it never reads outside the span it was
// given (the structure's first byte up to the end of the buffer holding it).
//
// Rules, the same for every caller:
// - byte/word/dword/qword and field read the table as it lies from the
//   structure's first byte to the end of the buffer: a mapping that reads
//   past a short structure's formatted area sees what follows it there (its
//   string set, the next structure), exactly as a reader of the raw table
//   would. Bytes beyond the end of the buffer read as zero.
// - A view whose header is cut by the buffer's end, or whose length byte is
//   below 4 (smaller than the header itself), is not a structure: it reads
//   as all zero and has no strings.
// - A string is handed out only when its terminating NUL lies inside the
//   buffer, so callers can treat it as a C string.
// - The string set ends at the first pair of NUL bytes at or after the
//   formatted area; the whole size runs up to and including that pair. A
//   structure whose pair is not inside the buffer is incomplete.
#pragma once

#include "common/handles.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace qvm::smbios
{

inline constexpr std::size_t kHeaderSize = 4;
// Handles and whole sizes travel as u16; 0xFFFF also marks "no handle".
inline constexpr std::uint16_t kNoHandle = 0xFFFF;
inline constexpr std::size_t kMaxWholeSize = 0xFFFF;

// The bytes of a field, for decoders that take a pointer. Points into the
// table when the field lies inside the formatted area, otherwise at a copy
// whose bytes outside the formatted area are zero. data() is null only when
// a large copy could not be allocated; callers then skip the field.
class FieldBytes
{
  public:
    FieldBytes(FieldBytes&&) noexcept = default;
    FieldBytes& operator=(FieldBytes&&) noexcept = default;
    FieldBytes(const FieldBytes&) = delete;
    FieldBytes& operator=(const FieldBytes&) = delete;
    ~FieldBytes() = default;

    const std::uint8_t* data() const noexcept;
    std::size_t size() const noexcept { return size_; }
    explicit operator bool() const noexcept { return data() != nullptr; }

  private:
    friend class StructureView;
    FieldBytes() = default;

    static constexpr std::size_t kInline = 32;
    const std::uint8_t* direct_ = nullptr;
    HeapPtr<std::uint8_t> heap_;
    std::array<std::uint8_t, kInline> inline_{};
    std::size_t size_ = 0;
    bool failed_ = false;
};

// Result of a string lookup: the string, or where the string set ended.
struct StringLookup
{
    const char* text = nullptr;
    // Offset of the next structure (from this structure's first byte) when
    // the string set ended before the string asked for.
    std::optional<std::size_t> next;
};

class StructureView
{
  public:
    StructureView() = default;
    // bytes: from the structure's first byte to the end of its buffer.
    explicit StructureView(std::span<const std::uint8_t> bytes) noexcept;

    // The same structure, with byte/word/dword/qword and field reading zero
    // past the formatted area instead of the string set behind it. Strings
    // are found as before.
    StructureView formattedOnly() const noexcept;

    // A complete header with a length byte of at least 4.
    bool valid() const noexcept { return formatted_ != 0; }
    const std::uint8_t* data() const noexcept { return bytes_.data(); }

    std::uint8_t type() const noexcept { return byte(0); }
    std::uint8_t length() const noexcept { return byte(1); }
    std::uint16_t handle() const noexcept { return word(2); }

    // Little-endian reads; zero beyond the end of the buffer.
    std::uint8_t byte(std::size_t offset) const noexcept;
    std::uint16_t word(std::size_t offset) const noexcept;
    std::uint32_t dword(std::size_t offset) const noexcept;
    std::uint64_t qword(std::size_t offset) const noexcept;
    FieldBytes field(std::size_t offset, std::size_t width) const noexcept;

    // String number 1, 2, ... of the string set; null for 0 or a missing
    // string. String 1 of an empty set is the empty text.
    const char* string(std::uint16_t number) const noexcept;
    // The string whose number is the byte at offset.
    const char* stringAt(std::size_t offset) const noexcept
    {
        return string(byte(offset));
    }
    StringLookup lookup(std::uint16_t number) const noexcept;

    // Formatted area plus string set with its final NUL; empty when the
    // structure is invalid or incomplete, or larger than a u16 can say.
    std::optional<std::size_t> wholeSize() const noexcept;
    std::span<const std::uint8_t> whole() const noexcept;

  private:
    std::uint64_t read(std::size_t offset, std::size_t width) const noexcept;
    // Bytes from the structure's start to the end of the buffer; none for an
    // invalid view.
    std::size_t readable() const noexcept;

    std::span<const std::uint8_t> bytes_;
    std::size_t formatted_ = 0;
    bool clipped_ = false;
};

} // namespace qvm::smbios
