#include "tablegen/sample_location.hpp"

#include <filesystem>
#include <unistd.h>
#include <vector>

namespace tablegen
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

// In the build tree the sample is generated beside qvm, and qvm-standin
// lies in a sibling folder; an installation may have been moved as a
// whole, so its data folder is also looked for relative to the program.
std::vector<fs::path> places()
{
    const fs::path datadir = fs::path(QVM_INSTALL_DATADIR) / "qvmclient";
    std::vector<fs::path> out;
    if (const fs::path dir = programDir(); !dir.empty())
    {
        out.push_back(dir);
        out.push_back(dir / ".." / "qvm");
        out.push_back(dir /
                      fs::path(QVM_INSTALL_DATADIR)
                          .lexically_relative(QVM_INSTALL_BINDIR) /
                      "qvmclient");
    }
    out.push_back(datadir);
    return out;
}

} // namespace

std::string sampleTablePath()
{
    for (const auto& place : places())
    {
        const fs::path candidate = place / kSampleName;
        std::error_code error;
        if (fs::is_regular_file(candidate, error) &&
            access(candidate.c_str(), R_OK) == 0)
            return candidate.lexically_normal().string();
    }
    return {};
}

std::string sampleTablePlaces()
{
    std::string out;
    for (const auto& place : places())
        out += (out.empty() ? "" : ", ") + place.lexically_normal().string();
    return out;
}

} // namespace tablegen
