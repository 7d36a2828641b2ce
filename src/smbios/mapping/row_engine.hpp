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
// Rows that loop or compute are named functions (compute rows).
#pragma once

#include "fields/field_sink.hpp"
#include "smbios/decode/decode_context.hpp"
#include "smbios/decode/decoders.hpp"
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
    Compute,         // a named function for rows that loop or compute
};

// A row is emitted when the length byte is above lengthAbove (when set) and
// the table's version is at least version.
struct Gate
{
    std::int16_t lengthAbove = -1;
    SmbiosVersion version{0, 0};

    // Both gates must hold: the stricter bound of each kind.
    constexpr Gate also(Gate other) const
    {
        Gate both = *this;
        if (other.lengthAbove > both.lengthAbove)
            both.lengthAbove = other.lengthAbove;
        if (other.version.atLeast(version.major, version.minor))
            both.version = other.version;
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
struct RowContext
{
    const smbios::StructureView& view;
    // The version the gates compare with.
    SmbiosVersion version;
    FieldSink& out;
    // Formatted area and string set, as the structure's set hands it over.
    std::size_t wholeSize;
    decode::Policy policy = decode::Policy::Library;
};
using ComputeRow = std::int64_t (*)(const RowContext&);

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
    Gate gate{};

    // The row under every one of the gates.
    template <std::same_as<Gate>... Gates>
    constexpr FieldRow when(Gates... gates) const
    {
        FieldRow gated = *this;
        ((gated.gate = gated.gate.also(gates)), ...);
        return gated;
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

using Mapping = std::span<const FieldRow>;

// Runs the rows over one structure; returns 0, or the status of a compute
// row that ended the conversion early.
std::int64_t runMapping(Mapping rows, const RowContext& context);

// The mapping of a structure type; empty for types without one.
Mapping mappingFor(std::uint8_t type) noexcept;

// Helpers for compute rows.
// "s:<key>:<value>" with the string whose number is the byte at offset.
void appendString(const RowContext& context, std::size_t offset,
                  const char* key, bool ifPresent = false);
// "s:<key>:Dump: size= N" and the hex lines of the N bytes at offset.
void appendDump(const RowContext& context, std::size_t offset, std::size_t size,
                const char* key);

} // namespace qvm::mapping
