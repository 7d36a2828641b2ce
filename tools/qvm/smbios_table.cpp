#include "smbios_table.hpp"

#include <filesystem>
#include <qvmclient.h>
#include <unistd.h>
#include <vector>

namespace qvmcli
{
namespace
{

namespace fs = std::filesystem;

constexpr char kSampleName[] = "sample-table.bin";

fs::path programDir()
{
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : exe.parent_path();
}

bool readable(const fs::path& path)
{
    return !path.empty() && access(path.c_str(), R_OK) == 0 &&
           !fs::is_directory(path);
}

// Unloads the table at the end of a command, whatever SmbiosInit left.
struct TableLoad
{
    explicit TableLoad(const std::string& path)
        : status(SmbiosInit(path.c_str()))
    {
    }
    ~TableLoad() { SmbiosCleanup(); }
    TableLoad(const TableLoad&) = delete;
    TableLoad& operator=(const TableLoad&) = delete;

    const int64_t status;
};

} // namespace

std::string sampleTablePath()
{
    const fs::path datadir(QVM_INSTALL_DATADIR);
    std::vector<fs::path> candidates;
    if (const fs::path dir = programDir(); !dir.empty())
    {
        candidates.push_back(dir / kSampleName);
        candidates.push_back(dir /
                             datadir.lexically_relative(QVM_INSTALL_BINDIR) /
                             "qvmclient" / kSampleName);
    }
    candidates.push_back(datadir / "qvmclient" / kSampleName);
    for (const auto& candidate : candidates)
        if (readable(candidate))
            return candidate.lexically_normal().string();
    return {};
}

std::string chosenTable(const Args& args)
{
    if (args.has("table"))
        return args.get("table");
    if (readable(kMachineTable))
        return kMachineTable;
    return sampleTablePath();
}

int withTable(const Args& args, const std::function<int()>& body)
{
    const std::string path = chosenTable(args);
    if (path.empty())
        return fail(std::string("no SMBIOS table: ") + kMachineTable +
                        " is not readable and the sample table is missing",
                    QVM_RC_NOT_FOUND);
    const TableLoad table(path);
    if (table.status != QVM_RC_SUCCESS)
        return fail("cannot load the SMBIOS table " + path, table.status);
    return body();
}

} // namespace qvmcli
