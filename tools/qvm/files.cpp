#include "files.hpp"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace qvmcli
{

ScratchFile::ScratchFile()
{
    std::error_code error;
    const auto dir = std::filesystem::temp_directory_path(error);
    std::string name =
        (error ? std::filesystem::path("/tmp") : dir) / "qvm-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd >= 0)
    {
        close(fd);
        path_ = name;
    }
}

ScratchFile::~ScratchFile()
{
    if (!path_.empty())
        std::remove(path_.c_str());
}

std::string ScratchFile::text() const
{
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace
{

// Removes what was at path (never a directory) and creates it anew.
std::FILE* openFresh(const std::string& path)
{
    unlink(path.c_str());
    return std::fopen(path.c_str(), "wx");
}

} // namespace

bool startFresh(const std::string& path)
{
    std::FILE* file = openFresh(path);
    return file != nullptr && std::fclose(file) == 0;
}

bool writeFresh(const std::string& path, const std::string& text)
{
    std::FILE* file = openFresh(path);
    if (file == nullptr)
        return false;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

} // namespace qvmcli
