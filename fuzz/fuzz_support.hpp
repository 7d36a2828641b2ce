// What the fuzz targets share: a failed promise stops the run, the input is
// read front to back (zeros once it runs out), and inputs reach
// file-reading functions through an in-memory file.
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

class ByteSource
{
  public:
    ByteSource(const uint8_t* data, std::size_t size) : data_(data), size_(size)
    {
    }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    bool exhausted() const { return at_ >= size_; }

    uint64_t number(std::size_t width)
    {
        uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= static_cast<uint64_t>(byte()) << (8 * i);
        return value;
    }

    std::string text()
    {
        const std::size_t length = byte();
        std::string out;
        while (out.size() < length && at_ < size_)
            out.push_back(static_cast<char>(data_[at_++]));
        return out;
    }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

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
