#include "smbios/mapping/row_engine.hpp"

#include "fields/hex_lines.hpp"

#include <cstdio>

namespace qvm::mapping
{
namespace
{

bool gateHolds(const Gate& gate, const RowContext& context)
{
    return context.view.length() > gate.lengthAbove &&
           context.version.atLeast(gate.version.major, gate.version.minor);
}

std::uint64_t fieldValue(const smbios::StructureView& view, FieldAt field)
{
    switch (field.width)
    {
        case Width::U8:
            return view.byte(field.offset);
        case Width::U16:
            return view.word(field.offset);
        case Width::U32:
            return view.dword(field.offset);
        case Width::U64:
            return view.qword(field.offset);
    }
    return 0;
}

std::uint64_t fieldValue(const smbios::StructureView& view, const FieldRow& row)
{
    return fieldValue(view, FieldAt{row.offset, row.width});
}

void appendHex(const RowContext& context, std::size_t offset, std::size_t size)
{
    if (const auto bytes = context.view.field(offset, size))
        appendHexLines(bytes.data(), static_cast<std::uint32_t>(size),
                       context.out);
}

std::int64_t runRow(const FieldRow& row, const RowContext& context)
{
    switch (row.kind)
    {
        case Kind::Int:
            context.out.unsignedInteger(row.key, fieldValue(context.view, row));
            break;
        case Kind::String:
        case Kind::StringIfPresent:
            appendString(context, row.offset, row.key,
                         row.kind == Kind::StringIfPresent);
            break;
        case Kind::Dump:
            appendDump(context, row.offset, row.size, row.key);
            break;
        case Kind::Label:
            context.out.text(row.key, row.label);
            break;
        case Kind::Value:
            row.value(static_cast<std::uint32_t>(fieldValue(context.view, row)),
                      context.out);
            break;
        case Kind::Pointer:
            // A field at the end of the buffer is handed over as a
            // zero-padded copy, so the decoder can read all its bytes.
            if (const auto bytes = context.view.field(row.offset, row.size))
                row.pointer(bytes.data(), context.out);
            break;
        case Kind::Pair:
            row.pair(static_cast<std::uint32_t>(fieldValue(context.view, row)),
                     static_cast<std::uint32_t>(
                         fieldValue(context.view, row.second)),
                     context.out);
            break;
        case Kind::WholeDump:
            appendHex(context, 0, context.wholeSize);
            break;
        case Kind::Compute:
            return row.compute(context);
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
    context.out.text(key, value != nullptr ? value : "");
}

void appendDump(const RowContext& context, std::size_t offset, std::size_t size,
                const char* key)
{
    char header[32];
    std::snprintf(header, sizeof header, "%s: size= %d", "Dump",
                  static_cast<int>(size));
    context.out.text(key, header);
    appendHex(context, offset, size);
}

std::int64_t runMapping(Mapping rows, const RowContext& context)
{
    for (const FieldRow& row : rows)
    {
        if (!gateHolds(row.gate, context))
            continue;
        if (const std::int64_t status = runRow(row, context); status != 0)
            return status;
    }
    return 0;
}

} // namespace qvm::mapping
