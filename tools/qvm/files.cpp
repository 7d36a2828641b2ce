#include "files.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace qvmcli
{
namespace
{

namespace fs = std::filesystem;

std::string parentOf(const std::string& path)
{
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? "." : parent.string();
}

bool destinationWritable(const std::string& destination)
{
    struct stat st
    {
    };
    return lstat(destination.c_str(), &st) != 0 || S_ISREG(st.st_mode) ||
           S_ISLNK(st.st_mode);
}

} // namespace

ScratchFile::ScratchFile(const std::string& folder)
{
    std::error_code error;
    const fs::path base =
        !folder.empty() ? fs::path(folder) : fs::temp_directory_path(error);
    std::string name = (error ? fs::path("/tmp") : base) / ".qvm-XXXXXX";
    if (mkdtemp(name.data()) == nullptr)
        return;
    folder_ = name;
    path_ = folder_ + "/file";
}

ScratchFile::~ScratchFile()
{
    if (folder_.empty())
        return;
    unlink(path_.c_str());
    rmdir(folder_.c_str());
}

bool ScratchFile::write(std::string_view text) const
{
    std::FILE* file = std::fopen(path_.c_str(), "wx");
    if (file == nullptr)
        return false;
    const bool written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written)
        errno = writeErrno;
    return written && closed;
}

std::string ScratchFile::text() const
{
    return fileText(path_);
}

OutputFile::OutputFile(const std::string& destination)
    : destination_(destination), scratch_(parentOf(destination))
{
    if (!destinationWritable(destination))
        problem_ = "cannot write " + destination_ + ": not a regular file";
    else if (scratch_.path().empty())
        failed();
}

bool OutputFile::failed()
{
    problem_ = "cannot write " + destination_ + ": " + std::strerror(errno);
    return false;
}

bool OutputFile::write(std::string_view text)
{
    return scratch_.write(text) || failed();
}

bool OutputFile::commit()
{
    const int fd = open(path().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    const bool synced = fd >= 0 && fsync(fd) == 0;
    if (fd >= 0)
        close(fd);
    return (synced && rename(path().c_str(), destination_.c_str()) == 0) ||
           failed();
}

// Read in one piece when the file's size is known: an export runs to
// megabytes, which a stream would copy while growing its buffer.
std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string text;
    const auto size = in.tellg();
    in.clear();
    in.seekg(0);
    if (size > 0)
    {
        text.resize(static_cast<std::size_t>(size));
        in.read(text.data(), size);
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in)
    {
        std::ostringstream rest;
        rest << in.rdbuf();
        text += rest.str();
    }
    return text;
}

bool sameFile(const std::string& path, const std::string& other)
{
    struct stat a
    {
    };
    struct stat b
    {
    };
    return stat(path.c_str(), &a) == 0 && stat(other.c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

std::string whyCutShort(const std::string& path, uint64_t size)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 &&
        limit.rlim_cur != RLIM_INFINITY && size >= limit.rlim_cur)
        return "the file-size limit of " + std::to_string(limit.rlim_cur) +
               " bytes was reached";
    struct statvfs fsInfo
    {
    };
    if (statvfs(parentOf(path).c_str(), &fsInfo) == 0 && fsInfo.f_bavail == 0)
        return "the file system is full";
    return "the write failed";
}

} // namespace qvmcli
