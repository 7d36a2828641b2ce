// Structure mappings as data: each structure type is a list of rows
// (offset, width, key, kind, gate) in emission order, run by one small
// interpreter over the bounded structure reader.
//
//     constexpr FieldRow kBaseboard[] = {
//         text(4, "Manufacturer"),
//         text(8, "AssetTag").when(lengthAbove(8)),
//         integer(11, U16, "ChassisHandle").when(lengthAbove(8)),
//         decode(13, decode::addBaseBoardBoardType).when(lengthAbove(8)),
//         decode({9, U16}, {5, U8}, decode::addSystemSlotId),
//         integer(20, U8, "SystemBiosMajorRelease")
//             .when(versionAtLeast(2, 4), lengthAbove(20)),
//     };
//
// A repeated group is a counted row: where its count lies, where the first
// item starts and how far apart items are, and the rows of one item with
// offsets from the item's first byte:
//
//     constexpr FieldRow kChannelDevice[] = {
//         itemNumber("Memory Device"),
//         integer(0, U8, "Device Load"),
//         integer(1, U16, "Device Handle"),
//     };
//     counted(byteAt(6), 7, 3, kChannelDevice),
//     counted(lengthMinus(5) / 3, 5, 3, kGroupItem),
//
// Rows that compute a value from several fields are named functions
// (compute rows).
#pragma once

#include "fields/field_sink.hpp"
#include "smbios/decode/decode_context.hpp"
#include "smbios/decode/decoders.hpp"
#include "smbios/decode/value_table.hpp"
#include "smbios/structure_view.hpp"

#include <concepts>
#include <cstdint>
#include <span>

namespace qvm::mapping
{

using decode::SmbiosVersion;

enum class Width : std::uint8_t
{
    U8 = 1,
    U16 = 2,
    U32 = 4,
    U64 = 8,
};
inline constexpr Width U8 = Width::U8;
inline constexpr Width U16 = Width::U16;
inline constexpr Width U32 = Width::U32;
inline constexpr Width U64 = Width::U64;

enum class Kind : std::uint8_t
{
    Int,             // "d:<key>:<value>"
    String,          // "s:<key>:<string>", the empty text when missing
    StringIfPresent, // as String, nothing when missing
    Dump,            // "s:<key>:Dump: size= N", then the hex lines
    Label,           // "s:<key>:<constant>"
    Value,           // a decoder given the field's value
    Pointer,         // a decoder given the address of the field's bytes
    WholeDump,       // the hex lines of the whole structure, strings included
    Pair,            // a decoder given the values of two fields
    Compute,         // a named function for rows that compute
    Counted,         // the item rows, once per item of a repeated group
    // Item rows only:
    ItemNumber, // "d:<key>:<n>", the item's number from 1
    ItemString, // string number n of the n-th item, as ListString
    ListString, // as StringIfPresent; a null in the faithful view, so
                // that the lists of a group stay aligned item by item
    // Faithful rows only:
    Text,     // the text a table gives the field's value, or null
    BitTexts, // the texts of the field's set bits, as a list
};

// One bit per decode::Policy.
constexpr std::uint8_t policyBit(decode::Policy policy)
{
    return static_cast<std::uint8_t>(1U << static_cast<unsigned>(policy));
}
inline constexpr std::uint8_t kEveryPolicy = 0xFF;

// A row is emitted when the length byte is above lengthAbove (when set),
// the table's version is at least version and the decoding's policy is
// one of policies.
struct Gate
{
    std::int16_t lengthAbove = -1;
    SmbiosVersion version{0, 0};
    std::uint8_t policies = kEveryPolicy;

    // Both gates must hold: the stricter bound of each kind.
    constexpr Gate also(Gate other) const
    {
        Gate both = *this;
        if (other.lengthAbove > both.lengthAbove)
            both.lengthAbove = other.lengthAbove;
        if (other.version.atLeast(version.major, version.minor))
            both.version = other.version;
        both.policies &= other.policies;
        return both;
    }
};

constexpr Gate lengthAbove(int n)
{
    return Gate{static_cast<std::int16_t>(n), {0, 0}};
}
constexpr Gate versionAtLeast(int major, int minor)
{
    return Gate{
        -1,
        {static_cast<std::uint8_t>(major), static_cast<std::uint8_t>(minor)}};
}
// Rows that one way of reading the table has and the other has not (the
// faithful view's own rows, or library rows it replaces).
constexpr Gate onlyIn(decode::Policy policy)
{
    return Gate{-1, {0, 0}, policyBit(policy)};
}

using ValueDecoder = void (*)(std::uint32_t, FieldSink&);
using PointerDecoder = void (*)(const void*, FieldSink&);
using PairDecoder = void (*)(std::uint32_t, std::uint32_t, FieldSink&);

// Where a field lies, for rows that read more than one.
struct FieldAt
{
    std::uint8_t offset;
    Width width = U8;
};

// What a compute row works on. A compute row may end the structure's
// conversion early with a status of its own (nothing is then written).
// Under the faithful policy, view reads nothing past the formatted area.
struct RowContext
{
    const smbios::StructureView& view;
    // The version the gates compare with.
    SmbiosVersion version;
    FieldSink& out;
    // Formatted area and string set, as the structure's set hands it over.
    std::size_t wholeSize;
    decode::Policy policy = decode::Policy::Library;
    // Inside a counted row: where the item starts, its size and its number
    // from 1. Item rows' offsets count from base.
    std::size_t base = 0;
    std::size_t size = 0;
    unsigned number = 0;

    bool faithful() const { return policy == decode::Policy::Faithful; }
};
using ComputeRow = std::int64_t (*)(const RowContext&);

// How the faithful view reads an integer row's value (the library reads it
// as it stands): a code that says "unknown" or "not provided" is null, a
// size is scaled to bytes, and a code that says "see the extended field"
// takes that field's value instead, when the structure holds it.
struct Special
{
    bool nullable = false;
    std::uint64_t nullCode = 0;
    std::uint64_t scale = 1;
    bool extended = false;
    std::uint64_t extendedCode = 0;
    FieldAt extendedField{0};
    std::uint64_t extendedScale = 1;
};

// Where the number of items of a counted row comes from: the byte at an
// offset, or the formatted area less a base, divided by a size (none when
// the area ends before the base).
struct CountFrom
{
    std::uint8_t offset = 0;
    bool fromLength = false;
    std::uint8_t divisor = 1;
};
constexpr CountFrom byteAt(std::uint8_t offset)
{
    return {offset};
}
constexpr CountFrom lengthMinus(std::uint8_t base)
{
    return {base, true};
}
constexpr CountFrom operator/(CountFrom count, std::uint8_t divisor)
{
    count.divisor = divisor;
    return count;
}

struct FieldRow;

// The repeated group of a counted row. Items lie stride bytes apart from
// first, or (selfSized) follow each other, each as long as its first byte
// says and at least minSize long. Under the faithful policy, and under both
// when boundedAlways, the walk ends at the first item that does not lie
// whole inside the formatted area; otherwise each item is read as the table
// lies, as the library always has (the bounded reader zero-fills past the
// buffer). lists are the keys declared as lists before the first item.
struct Items
{
    CountFrom count{};
    std::uint8_t first = 0;
    std::uint8_t stride = 0;
    bool selfSized = false;
    std::uint8_t minSize = 0;
    bool boundedAlways = false;
    std::span<const FieldRow> rows{};
    std::span<const char* const> lists{};
};

struct FieldRow
{
    Kind kind;
    std::uint8_t offset = 0;
    Width width = U8;
    std::uint8_t size = 0; // dump and pointer rows: bytes at offset
    const char* key = nullptr;
    const char* label = nullptr;
    ValueDecoder value = nullptr;
    PointerDecoder pointer = nullptr;
    PairDecoder pair = nullptr;
    FieldAt second{0}; // pair rows: the decoder's second argument
    ComputeRow compute = nullptr;
    decode::Table table{}; // text rows
    Special special{};
    Items items{}; // counted rows
    Gate gate{};

    // The row under every one of the gates.
    template <std::same_as<Gate>... Gates>
    constexpr FieldRow when(Gates... gates) const
    {
        FieldRow gated = *this;
        ((gated.gate = gated.gate.also(gates)), ...);
        return gated;
    }

    // Faithful reading of an integer row; see Special.
    constexpr FieldRow nullWhen(std::uint64_t code) const
    {
        FieldRow row = *this;
        row.special.nullable = true;
        row.special.nullCode = code;
        return row;
    }
    constexpr FieldRow inBytes(std::uint64_t unit) const
    {
        FieldRow row = *this;
        row.special.scale = unit;
        return row;
    }
    // Counted rows: the keys declared as lists before the first item.
    constexpr FieldRow listing(std::span<const char* const> keys) const
    {
        FieldRow row = *this;
        row.items.lists = keys;
        return row;
    }
    // Counted rows: the walk ends at the formatted area's end under every
    // policy.
    constexpr FieldRow boundedByLength() const
    {
        FieldRow row = *this;
        row.items.boundedAlways = true;
        return row;
    }
    constexpr FieldRow extendedWhen(std::uint64_t code, FieldAt field,
                                    std::uint64_t unit = 1) const
    {
        FieldRow row = *this;
        row.special.extended = true;
        row.special.extendedCode = code;
        row.special.extendedField = field;
        row.special.extendedScale = unit;
        return row;
    }
};

constexpr FieldRow integer(std::uint8_t offset, Width width, const char* key)
{
    return {.kind = Kind::Int, .offset = offset, .width = width, .key = key};
}
constexpr FieldRow text(std::uint8_t offset, const char* key)
{
    return {.kind = Kind::String, .offset = offset, .key = key};
}
constexpr FieldRow textIfPresent(std::uint8_t offset, const char* key)
{
    return {.kind = Kind::StringIfPresent, .offset = offset, .key = key};
}
constexpr FieldRow dump(std::uint8_t offset, std::uint8_t size, const char* key)
{
    return {.kind = Kind::Dump, .offset = offset, .size = size, .key = key};
}
constexpr FieldRow label(const char* key, const char* value)
{
    return {.kind = Kind::Label, .key = key, .label = value};
}
constexpr FieldRow decode(std::uint8_t offset, ValueDecoder decoder,
                          Width width = U8)
{
    return {.kind = Kind::Value,
            .offset = offset,
            .width = width,
            .value = decoder};
}
constexpr FieldRow decodeAt(std::uint8_t offset, std::uint8_t size,
                            PointerDecoder decoder)
{
    return {.kind = Kind::Pointer,
            .offset = offset,
            .size = size,
            .pointer = decoder};
}
constexpr FieldRow dumpWhole()
{
    return {.kind = Kind::WholeDump};
}
// The decoder is given the first field's value, then the second's.
constexpr FieldRow decode(FieldAt first, FieldAt second, PairDecoder decoder)
{
    return {.kind = Kind::Pair,
            .offset = first.offset,
            .width = first.width,
            .pair = decoder,
            .second = second};
}
constexpr FieldRow compute(ComputeRow function)
{
    return {.kind = Kind::Compute, .compute = function};
}
// A dump of the bytes from offset to the end of the item (outside an item,
// to the end of the formatted area).
constexpr FieldRow dumpRest(std::uint8_t offset, const char* key)
{
    return {.kind = Kind::Dump, .offset = offset, .size = 0, .key = key};
}
constexpr FieldRow counted(CountFrom count, std::uint8_t first,
                           std::uint8_t stride, std::span<const FieldRow> rows)
{
    return {
        .kind = Kind::Counted,
        .items = {
            .count = count, .first = first, .stride = stride, .rows = rows}};
}
// Items that follow each other, each as long as its first byte says; the
// walk ends at an item shorter than minSize.
constexpr FieldRow countedSelfSized(CountFrom count, std::uint8_t first,
                                    std::uint8_t minSize,
                                    std::span<const FieldRow> rows)
{
    return {.kind = Kind::Counted,
            .items = {.count = count,
                      .first = first,
                      .selfSized = true,
                      .minSize = minSize,
                      .rows = rows}};
}
constexpr FieldRow itemNumber(const char* key)
{
    return {.kind = Kind::ItemNumber, .key = key};
}
constexpr FieldRow itemString(const char* key)
{
    return {.kind = Kind::ItemString, .key = key};
}
constexpr FieldRow listText(std::uint8_t offset, const char* key)
{
    return {.kind = Kind::ListString, .offset = offset, .key = key};
}
// Rows of the faithful view alone.
constexpr FieldRow enumText(std::uint8_t offset, const char* key,
                            decode::Table table, Width width = U8)
{
    return FieldRow{.kind = Kind::Text,
                    .offset = offset,
                    .width = width,
                    .key = key,
                    .table = table}
        .when(onlyIn(decode::Policy::Faithful));
}
constexpr FieldRow bitTexts(std::uint8_t offset, Width width, const char* key,
                            decode::Table table)
{
    return FieldRow{.kind = Kind::BitTexts,
                    .offset = offset,
                    .width = width,
                    .key = key,
                    .table = table}
        .when(onlyIn(decode::Policy::Faithful));
}
constexpr FieldRow faithfulOnly(FieldRow row)
{
    return row.when(onlyIn(decode::Policy::Faithful));
}
constexpr FieldRow libraryOnly(FieldRow row)
{
    return row.when(onlyIn(decode::Policy::Library));
}

using Mapping = std::span<const FieldRow>;

// Runs the rows over one structure; returns 0, or the status of a compute
// row that ended the conversion early.
std::int64_t runMapping(Mapping rows, const RowContext& context);

// The mapping of a structure type; empty for types without one.
Mapping mappingFor(std::uint8_t type) noexcept;

// Helpers for compute rows.
// "s:<key>:<value>" with the string whose number is the byte at offset.
// Under the faithful policy a missing string is a null (or nothing when
// ifPresent), and so is a string number outside the formatted area.
void appendString(const RowContext& context, std::size_t offset,
                  const char* key, bool ifPresent = false);
// "s:<key>:Dump: size= N" and the hex lines of the N bytes at offset.
void appendDump(const RowContext& context, std::size_t offset, std::size_t size,
                const char* key);

} // namespace qvm::mapping
