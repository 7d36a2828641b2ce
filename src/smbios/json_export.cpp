#include "smbios/json_export.hpp"

#include "fields/json_object_sink.hpp"
#include "qvmclient.h"
#include "smbios/structure_json.hpp"

#include <array>
#include <new>
#include <string_view>

namespace qvm::smbios
{
namespace
{

// A selection by type holds at most this many structures (its count is a
// u16); the export shows what the selections would.
constexpr std::size_t kMaxOfOneType = 0xFFFF;

struct Located
{
    std::size_t offset;
    std::size_t size;
};

// Every structure, grouped by type in table order (a counting sort of one
// positional pass), each group clipped to kMaxOfOneType.
class ByType
{
  public:
    ByType(const TableView& table, ExportReport& report)
    {
        std::vector<Located> all;
        std::array<std::size_t, 256> counts{};
        std::size_t end = 0;
        for (const TableEntry& entry : table)
        {
            const std::uint8_t type = entry.view.type();
            if (counts[type]++ < kMaxOfOneType)
                all.push_back({entry.offset, entry.size});
            else if (counts[type] == kMaxOfOneType + 1)
                report.clippedTypes.push_back(type);
            end = entry.offset + entry.size;
        }
        if (end < table.bytes().size())
            report.stoppedAt = end;
        std::size_t start = 0;
        for (std::size_t type = 0; type < 256; ++type)
        {
            starts_[type] = start;
            start +=
                counts[type] < kMaxOfOneType ? counts[type] : kMaxOfOneType;
        }
        starts_[256] = start;
        sorted_.resize(all.size());
        std::array<std::size_t, 257> next = starts_;
        for (const Located& located : all)
            sorted_[next[table.bytes()[located.offset]]++] = located;
    }

    std::span<const Located> group(std::size_t type) const
    {
        return std::span<const Located>(sorted_).subspan(
            starts_[type], starts_[type + 1] - starts_[type]);
    }

  private:
    std::vector<Located> sorted_;
    std::array<std::size_t, 257> starts_{};
};

// A separator goes out only together with the object that follows it, and
// a group opens with its first written object, so a structure whose
// conversion writes nothing leaves the text valid JSON.
class GroupWriter
{
  public:
    explicit GroupWriter(FdWriter& out) : out_(out) {}

    void object(std::string_view text)
    {
        if (!groupOpen_)
            out_.put(anyGroup_ ? ",[" : "[[");
        else
            out_.put(",");
        anyGroup_ = groupOpen_ = true;
        out_.put(text);
    }
    void closeGroup()
    {
        if (groupOpen_)
            out_.put("]");
        groupOpen_ = false;
    }
    void finish()
    {
        closeGroup();
        out_.put(anyGroup_ ? "]" : "[]");
    }

  private:
    FdWriter& out_;
    bool anyGroup_ = false;
    bool groupOpen_ = false;
};

} // namespace

ExportReport exportJson(const TableContext& context, FdWriter& out)
{
    ExportReport report;
    GroupWriter writer(out);
    try
    {
        const ByType byType(context.table, report);
        JsonObjectSink sink;
        const auto bytes = context.table.bytes();
        for (std::size_t type = 0; type < 256; ++type)
        {
            for (const Located& at : byType.group(type))
            {
                const StructureView view(bytes.subspan(at.offset));
                std::string_view text;
                const std::int64_t status =
                    structureText(view, at.size, context.decode, sink, text);
                if (status == 0)
                {
                    writer.object(text);
                    ++report.written;
                }
                else
                {
                    report.leftOut.push_back(
                        {at.offset, view.type(), view.handle(), status});
                }
            }
            writer.closeGroup();
        }
    }
    catch (const std::bad_alloc&)
    {
        // What was converted stays; the text still closes.
    }
    writer.finish();
    out.flush();
    report.writeError = out.error();
    return report;
}

} // namespace qvm::smbios
