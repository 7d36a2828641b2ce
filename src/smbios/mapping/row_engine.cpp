#include "smbios/mapping/row_engine.hpp"

#include "fields/hex_lines.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace qvm::mapping
{
namespace
{

// length: the structure's length byte, read once for all its rows.
bool gateHolds(const Gate& gate, const RowContext& context, int length)
{
    return length > gate.lengthAbove &&
           context.version.atLeast(gate.version.major, gate.version.minor) &&
           (gate.policies & policyBit(context.policy)) != 0;
}

bool inside(const RowContext& context, std::size_t offset, std::size_t size)
{
    return offset + size <= context.view.length();
}

// Where the row's offsets count from: an item's first byte for item rows,
// the structure's otherwise (known when compiled, so structure rows pay
// nothing for items).
template <bool kItem> std::size_t origin(const RowContext& context)
{
    if constexpr (kItem)
        return context.base;
    else
        return 0;
}

// Whether every byte the row reads lies in the formatted area. Compute rows
// check what they read themselves, over a view that ends there; counted rows
// check each item.
template <bool kItem>
bool rowInside(const FieldRow& row, const RowContext& context)
{
    const std::size_t at = origin<kItem>(context) + row.offset;
    switch (row.kind)
    {
        case Kind::Int:
        case Kind::Value:
        case Kind::Text:
        case Kind::BitTexts:
            return inside(context, at, static_cast<std::size_t>(row.width));
        case Kind::String:
        case Kind::StringIfPresent:
        case Kind::ListString:
            return inside(context, at, 1);
        case Kind::Dump:
        case Kind::Pointer:
            return inside(context, at, row.size);
        case Kind::Pair:
            return inside(context, at, static_cast<std::size_t>(row.width)) &&
                   inside(context, origin<kItem>(context) + row.second.offset,
                          static_cast<std::size_t>(row.second.width));
        case Kind::Label:
        case Kind::WholeDump:
        case Kind::Compute:
        case Kind::Counted:
        case Kind::ItemNumber:
        case Kind::ItemString:
            break;
    }
    return true;
}

// Inlined into every row kind that reads a field: the call would cost
// more than the read.
[[gnu::always_inline]] inline std::uint64_t
fieldValue(const smbios::StructureView& view, std::size_t offset, Width width)
{
    switch (width)
    {
        case Width::U8:
            return view.byte(offset);
        case Width::U16:
            return view.word(offset);
        case Width::U32:
            return view.dword(offset);
        case Width::U64:
            return view.qword(offset);
    }
    return 0;
}

// A field of the row's structure or item.
template <bool kItem>
std::uint64_t fieldValue(const RowContext& context, FieldAt field)
{
    return fieldValue(context.view, origin<kItem>(context) + field.offset,
                      field.width);
}

template <bool kItem>
std::uint64_t fieldValue(const RowContext& context, const FieldRow& row)
{
    return fieldValue<kItem>(context, FieldAt{row.offset, row.width});
}

void appendHex(const RowContext& context, std::size_t offset, std::size_t size)
{
    if (const auto bytes = context.view.field(offset, size))
        appendHexLines(bytes.data(), static_cast<std::uint32_t>(size),
                       context.out);
}

// "A9 06 03 00", the way the reference decoder prints raw bytes.
std::string hexBytes(std::span<const std::uint8_t> bytes)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t b : bytes)
    {
        if (!text.empty())
            text += ' ';
        text += kDigits[b >> 4];
        text += kDigits[b & 0x0F];
    }
    return text;
}

// The formatted area as bytes and every string of the set, for structures
// read as they are.
void appendRawStructure(const RowContext& context)
{
    const auto whole = context.view.whole();
    const std::size_t formatted = context.view.length();
    context.out.text(
        "Header and Data",
        hexBytes(whole.first(std::min(formatted, whole.size()))).c_str());
    context.out.list("Strings");
    for (std::uint16_t n = 1; const char* s = context.view.string(n); ++n)
        if (*s != '\0' || n > 1)
            context.out.text("Strings", s);
}

// An integer row as the faithful view reads it.
template <bool kItem>
void appendSpecial(const FieldRow& row, const RowContext& context)
{
    const Special& special = row.special;
    const std::uint64_t value = fieldValue<kItem>(context, row);
    const FieldAt extended = special.extendedField;
    if (special.extended && value == special.extendedCode &&
        inside(context, origin<kItem>(context) + extended.offset,
               static_cast<std::size_t>(extended.width)))
        context.out.unsignedInteger(row.key,
                                    fieldValue<kItem>(context, extended) *
                                        special.extendedScale);
    else if (special.nullable && value == special.nullCode)
        context.out.null(row.key);
    else
        context.out.unsignedInteger(row.key, value * special.scale);
}

template <bool kItem>
void appendBitTexts(const FieldRow& row, const RowContext& context)
{
    const std::uint64_t bits = fieldValue<kItem>(context, row);
    context.out.list(row.key);
    for (const ValueTextEntry& entry : row.table)
        if (const unsigned bit = entry.code & 0xFF;
            bit < 64 && (bits >> bit & 1U) != 0)
            context.out.text(row.key, entry.text);
}

// The dump's size; a dump to the end of its item (or of the formatted area)
// has none of its own.
template <bool kItem>
std::size_t dumpSize(const FieldRow& row, const RowContext& context)
{
    if (row.size != 0)
        return row.size;
    const std::size_t end = kItem ? context.base + context.size
                                  : std::size_t{context.view.length()};
    const std::size_t at = origin<kItem>(context) + row.offset;
    return end > at ? end - at : 0;
}

template <bool kItem>
std::int64_t runRows(Mapping rows, const RowContext& context);

std::size_t itemCount(const CountFrom& count, const RowContext& context)
{
    if (!count.fromLength)
        return context.view.byte(count.offset);
    const std::size_t length = context.view.length();
    return length > count.offset ? (length - count.offset) / count.divisor : 0;
}

// The item rows once per item. The count is at most 255 (a byte, or a
// length less a base), so the walk ends whatever the table says.
std::int64_t runCounted(const Items& items, const RowContext& context)
{
    for (const char* key : items.lists)
        context.out.list(key);
    const bool bounded = items.boundedAlways || context.faithful();
    const std::size_t end = context.view.length();
    const std::size_t count = itemCount(items.count, context);
    std::size_t at = items.first;
    for (unsigned number = 1; number <= count; ++number)
    {
        const std::size_t size =
            items.selfSized ? context.view.byte(at) : items.stride;
        if (items.selfSized && size < items.minSize)
            break;
        if (bounded && at + size > end)
            break;
        const RowContext item{context.view,   context.version,
                              context.out,    context.wholeSize,
                              context.policy, at,
                              size,           number};
        if (const std::int64_t status = runRows<true>(items.rows, item);
            status != 0)
            return status;
        at += size;
    }
    return 0;
}

template <bool kItem>
std::int64_t runRow(const FieldRow& row, const RowContext& context)
{
    const auto at = [&] { return origin<kItem>(context) + row.offset; };
    switch (row.kind)
    {
        case Kind::Int:
            if (context.faithful())
                appendSpecial<kItem>(row, context);
            else
                context.out.unsignedInteger(row.key,
                                            fieldValue<kItem>(context, row));
            break;
        case Kind::Text:
            if (const char* text = decode::findText(
                    row.table,
                    static_cast<std::uint8_t>(fieldValue<kItem>(context, row))))
                context.out.text(row.key, text);
            else
                context.out.null(row.key);
            break;
        case Kind::BitTexts:
            appendBitTexts<kItem>(row, context);
            break;
        case Kind::String:
        case Kind::StringIfPresent:
            appendString(context, at(), row.key,
                         row.kind == Kind::StringIfPresent);
            break;
        case Kind::ListString:
            appendString(context, at(), row.key, !context.faithful());
            break;
        case Kind::ItemString:
            if (const char* value = context.view.string(
                    static_cast<std::uint16_t>(context.number)))
                context.out.text(row.key, value);
            else if (context.faithful())
                context.out.null(row.key);
            break;
        case Kind::ItemNumber:
            context.out.integer(row.key, context.number);
            break;
        case Kind::Dump:
            appendDump(context, at(), dumpSize<kItem>(row, context), row.key);
            break;
        case Kind::Label:
            context.out.text(row.key, row.label);
            break;
        case Kind::Value:
            row.value(
                static_cast<std::uint32_t>(fieldValue<kItem>(context, row)),
                context.out);
            break;
        case Kind::Pointer:
            // A field at the end of the buffer is handed over as a
            // zero-padded copy, so the decoder can read all its bytes.
            if (const auto bytes = context.view.field(at(), row.size))
                row.pointer(bytes.data(), context.out);
            break;
        case Kind::Pair:
            row.pair(
                static_cast<std::uint32_t>(fieldValue<kItem>(context, row)),
                static_cast<std::uint32_t>(
                    fieldValue<kItem>(context, row.second)),
                context.out);
            break;
        case Kind::WholeDump:
            if (context.faithful())
                appendRawStructure(context);
            else
                appendHex(context, 0, context.wholeSize);
            break;
        case Kind::Compute:
            return row.compute(context);
        case Kind::Counted:
            return runCounted(row.items, context);
    }
    return 0;
}

template <bool kItem>
std::int64_t runRows(Mapping rows, const RowContext& context)
{
    const int length = context.view.length();
    for (const FieldRow& row : rows)
    {
        if (!gateHolds(row.gate, context, length))
            continue;
        if (context.faithful() && !rowInside<kItem>(row, context))
            continue;
        if (const std::int64_t status = runRow<kItem>(row, context);
            status != 0)
            return status;
    }
    return 0;
}

} // namespace

void appendString(const RowContext& context, std::size_t offset,
                  const char* key, bool ifPresent)
{
    const char* value = context.view.stringAt(offset);
    if (value == nullptr && ifPresent)
        return;
    if (value == nullptr && context.faithful())
        context.out.null(key);
    else
        context.out.text(key, value != nullptr ? value : "");
}

void appendDump(const RowContext& context, std::size_t offset, std::size_t size,
                const char* key)
{
    if (context.faithful())
    {
        if (const auto bytes = context.view.field(offset, size))
            context.out.text(key, hexBytes({bytes.data(), size}).c_str());
        return;
    }
    char header[32];
    std::snprintf(header, sizeof header, "%s: size= %d", "Dump",
                  static_cast<int>(size));
    context.out.text(key, header);
    appendHex(context, offset, size);
}

std::int64_t runMapping(Mapping rows, const RowContext& given)
{
    const smbios::StructureView clipped = given.view.formattedOnly();
    const RowContext context{given.faithful() ? clipped : given.view,
                             given.version, given.out, given.wholeSize,
                             given.policy};
    return runRows<false>(rows, context);
}

} // namespace qvm::mapping
