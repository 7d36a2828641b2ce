// Text grown in place: room is made first, then written through a pointer.
// The memory stays when the text is emptied, so a buffer that serves one
// object after another stops allocating once it has grown to the largest.
#pragma once

#include "common/handles.hpp"

#include <cstddef>

namespace qvm
{

class TextBuffer
{
  public:
    // Room for bytes more at the end; null when memory runs out. Bytes past
    // the end, up to the room asked for, may be read (they belong to the
    // buffer) but hold nothing meaningful.
    char* room(std::size_t bytes) noexcept
    {
        if (capacity_ - size_ >= bytes)
            return data_.get() + size_;
        return grown(bytes);
    }
    char* data() const noexcept { return data_.get(); }
    std::size_t size() const noexcept { return size_; }
    void resize(std::size_t size) noexcept { size_ = size; }
    void endAt(const char* end) noexcept
    {
        size_ = static_cast<std::size_t>(end - data_.get());
    }

  private:
    char* grown(std::size_t bytes) noexcept;

    HeapString data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace qvm
