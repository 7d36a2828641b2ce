// What the fuzz targets share: a failed promise stops the run, and inputs
// reach file-reading functions through an in-memory file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace qvmfuzz
{

inline void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// An in-memory file reached by path, rewritten for every input.
class ScratchFile
{
  public:
    explicit ScratchFile(const char* name)
        : fd_(memfd_create(name, 0)),
          path_("/proc/self/fd/" + std::to_string(fd_))
    {
        require(fd_ >= 0);
    }
    const std::string& write(const uint8_t* data, std::size_t size)
    {
        require(ftruncate(fd_, 0) == 0);
        require(pwrite(fd_, data, size, 0) == static_cast<ssize_t>(size));
        return path_;
    }
    std::string read() const
    {
        std::string text(static_cast<std::size_t>(lseek(fd_, 0, SEEK_END)),
                         '\0');
        require(pread(fd_, text.data(), text.size(), 0) ==
                static_cast<ssize_t>(text.size()));
        return text;
    }

  private:
    int fd_;
    std::string path_;
};

} // namespace qvmfuzz
