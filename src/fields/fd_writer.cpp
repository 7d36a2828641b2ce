#include "fields/fd_writer.hpp"

#include <cerrno>
#include <cstring>
#include <new>
#include <unistd.h>

namespace qvm
{

FdWriter::FdWriter(int fd)
    : fd_(fd), buffer_(new (std::nothrow) char[kBufferSize])
{
    if (!buffer_)
        error_ = ENOMEM;
}

FdWriter::~FdWriter()
{
    flush();
}

void FdWriter::writeOut(const char* data, std::size_t size) noexcept
{
    while (size > 0 && error_ == 0)
    {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0)
        {
            if (errno != EINTR)
                error_ = errno;
            continue;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void FdWriter::put(std::string_view text) noexcept
{
    while (!text.empty() && error_ == 0)
    {
        const std::size_t room = kBufferSize - used_;
        const std::size_t taken = text.size() < room ? text.size() : room;
        std::memcpy(buffer_.get() + used_, text.data(), taken);
        used_ += taken;
        text.remove_prefix(taken);
        if (used_ == kBufferSize)
        {
            writeOut(buffer_.get(), used_);
            used_ = 0;
        }
    }
}

bool FdWriter::flush() noexcept
{
    if (used_ > 0 && error_ == 0)
        writeOut(buffer_.get(), used_);
    used_ = 0;
    return error_ == 0;
}

} // namespace qvm
