#include "core_table.hpp"

#include "capi/loaded_table.hpp"
#include "capi/table_state.hpp"
#include "common/handles.hpp"
#include "qvmclient.h"
#include "smbios/structure_json.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace qvmcli::core
{
namespace
{

// The version pair that the field mappings compare, as the library takes
// it when it loads a table.
std::int64_t takeVersionPair()
{
    SmbiosBiosInfo* raw = nullptr;
    const std::int64_t status = GetBiosInfo(qvm::smbios::kBiosInfoKey, &raw);
    const qvm::HeapPtr<SmbiosBiosInfo> info(raw);
    if (status != QVM_RC_SUCCESS)
        return QVM_RC_NOT_FOUND;
    MajorVersion = SmbiosMajorVersion = info->major_release;
    MinorVersion = SmbiosMinorVersion = info->minor_release;
    return QVM_RC_SUCCESS;
}

// A separator goes out only with the object after it and a group opens
// with its first object, as the library's own export writes.
class ExportWriter
{
  public:
    explicit ExportWriter(std::FILE* file) : file_(file) {}

    void object(std::string_view text)
    {
        put(!groupOpen_ ? (anyGroup_ ? ",[" : "[[") : ",");
        anyGroup_ = groupOpen_ = true;
        put(text);
    }
    void closeGroup()
    {
        if (groupOpen_)
            put("]");
        groupOpen_ = false;
    }
    void finish()
    {
        closeGroup();
        put(anyGroup_ ? "]" : "[]");
    }

  private:
    void put(std::string_view text)
    {
        std::fwrite(text.data(), 1, text.size(), file_);
    }

    std::FILE* file_;
    bool anyGroup_ = false;
    bool groupOpen_ = false;
};

} // namespace

LoadedTable::LoadedTable(std::span<const std::uint8_t> table)
{
    // The library owns its table buffer and frees it with free().
    auto* buffer = static_cast<std::uint8_t*>(
        std::calloc(std::max<std::size_t>(table.size(), 1), 1));
    if (buffer == nullptr)
    {
        status_ = QVM_RC_NO_RESOURCES;
        return;
    }
    if (!table.empty())
        std::memcpy(buffer, table.data(), table.size());
    qvm::smbios::installTable(buffer, table.size());
    status_ = takeVersionPair();
}

LoadedTable::~LoadedTable()
{
    qvm::smbios::releaseTable();
}

Walk walkTable()
{
    Walk walk;
    const qvm::smbios::TableView table = qvm::smbios::loadedTable();
    walk.tableSize = table.bytes().size();
    for (const TableEntry& entry : table)
    {
        walk.entries.push_back(entry);
        ++walk.ofType[entry.view.type()];
        walk.end = entry.offset + entry.size;
    }
    const auto rest = table.bytes().subspan(walk.end);
    walk.unreached = std::any_of(rest.begin(), rest.end(),
                                 [](std::uint8_t b) { return b != 0; });
    return walk;
}

Converted structureJson(const TableEntry& entry)
{
    auto json = qvm::smbios::structureJson(entry.view, entry.size,
                                           qvm::capi::loadedContext().decode);
    return {std::move(json.text), json.status};
}

ExportReport exportJson(const Walk& walk, std::FILE* out)
{
    std::array<std::vector<const TableEntry*>, 256> groups;
    ExportReport report;
    for (const TableEntry& entry : walk.entries)
    {
        auto& group = groups[entry.view.type()];
        if (group.size() < kMaxOfOneType)
            group.push_back(&entry);
        else
            ++report.clipped[entry.view.type()];
    }
    ExportWriter writer(out);
    for (const auto& group : groups)
    {
        for (const TableEntry* entry : group)
        {
            const auto json = structureJson(*entry);
            if (json.status == QVM_RC_SUCCESS)
            {
                writer.object(json.text);
                ++report.written;
            }
            else
                report.leftOut.push_back({*entry, json.status});
        }
        writer.closeGroup();
    }
    writer.finish();
    return report;
}

} // namespace qvmcli::core
