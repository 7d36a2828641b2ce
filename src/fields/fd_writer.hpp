// Buffered output to a file descriptor: one write(2) per full buffer, so a
// text of megabytes leaves in few large pieces.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace qvm
{

class FdWriter
{
  public:
    static constexpr std::size_t kBufferSize = 64 * 1024;

    // fd stays the caller's: the writer never closes it. The buffer is
    // allocated here; when that fails every write fails with ENOMEM.
    explicit FdWriter(int fd);
    FdWriter(const FdWriter&) = delete;
    FdWriter& operator=(const FdWriter&) = delete;
    // Writes what is still buffered.
    ~FdWriter();

    void put(std::string_view text) noexcept;
    // Writes what is buffered; false once any write has failed.
    bool flush() noexcept;
    // errno of the first failed write, 0 while none has failed. After a
    // failure nothing more is written.
    int error() const noexcept { return error_; }

  private:
    void writeOut(const char* data, std::size_t size) noexcept;

    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    int error_ = 0;
};

} // namespace qvm
