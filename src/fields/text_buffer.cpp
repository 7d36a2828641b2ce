#include "fields/text_buffer.hpp"

#include <algorithm>
#include <cstdlib>

namespace qvm
{
namespace
{

constexpr std::size_t kFirstText = 4096;

} // namespace

char* TextBuffer::grown(std::size_t bytes) noexcept
{
    const std::size_t wanted =
        std::max({kFirstText, 2 * capacity_, size_ + bytes});
    auto* grown = static_cast<char*>(std::realloc(data_.get(), wanted));
    if (grown == nullptr)
        return nullptr;
    (void)data_.release();
    data_.reset(grown);
    capacity_ = wanted;
    return grown + size_;
}

} // namespace qvm
