// The whole loaded table as one JSON text: an array holding, per structure
// type present (0 to 255), the array of its structures' objects.
#include "common/handles.hpp"
#include "qvmclient.h"
#include "smbios/structure_json.hpp"
#include "smbios/table.hpp"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace
{

using qvm::smbios::TableEntry;

// A selection by type holds at most this many structures (its count is a
// u16); the export shows what the selections would.
constexpr std::size_t kMaxOfOneType = 0xFFFF;
constexpr std::size_t kWriteBuffer = 64 * 1024;

// Every structure, grouped by type in table order, from one positional pass.
std::array<std::vector<TableEntry>, 256> structuresByType()
{
    std::array<std::vector<TableEntry>, 256> groups;
    for (const TableEntry& entry : qvm::smbios::loadedTable())
        if (auto& group = groups[entry.view.type()];
            group.size() < kMaxOfOneType)
            group.push_back(entry);
    return groups;
}

// Writes the groups. A separator goes out only together with the object
// that follows it, and a group opens with its first written object, so a
// structure whose conversion writes nothing leaves the text valid JSON.
class ExportWriter
{
  public:
    explicit ExportWriter(std::FILE* file) : file_(file) {}

    void object(std::string_view text)
    {
        if (!groupOpen_)
        {
            put(anyGroup_ ? ",[" : "[[");
            anyGroup_ = groupOpen_ = true;
        }
        else
        {
            put(",");
        }
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

extern "C" int64_t SmBiosDataToJSON(const char* path)
{
    if (path == nullptr)
        return QVM_RC_INVALID_REQUEST;
    // The file is appended to, never truncated; one open serves the whole
    // text, which is what the per-piece opens would have written.
    const qvm::FilePtr file(std::fopen(path, "a+"));
    if (!file)
        return QVM_RC_SUCCESS;
    // Large tables export to megabytes: fewer, larger writes.
    std::setvbuf(file.get(), nullptr, _IOFBF, kWriteBuffer);
    ExportWriter writer(file.get());
    for (const auto& group : structuresByType())
    {
        for (const TableEntry& entry : group)
        {
            const auto json =
                qvm::smbios::structureJson(entry.view, entry.size);
            if (json.status == QVM_RC_SUCCESS)
                writer.object(json.text);
        }
        writer.closeGroup();
    }
    writer.finish();
    return QVM_RC_SUCCESS;
}
