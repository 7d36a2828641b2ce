#include "common/read_only.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <link.h>
#include <span>

namespace qvm
{
namespace
{

// Any constant of this object: the segment that holds it tells the object.
constexpr char kAnchor[] = "read-only";

// The segments of this code's own object (the library, or a program the
// core is linked into) that are never written once it is loaded: where its
// string literals and constant arrays lie.
struct ReadOnlyImage
{
    struct Range
    {
        std::uintptr_t begin;
        std::uintptr_t size;
    };
    std::array<Range, 8> ranges{};
    std::size_t count = 0;

    bool holds(const char* text) const noexcept
    {
        const auto address = reinterpret_cast<std::uintptr_t>(text);
        for (std::size_t i = 0; i < count; ++i)
            if (address - ranges[i].begin < ranges[i].size)
                return true;
        return false;
    }
};

bool loadedAt(const dl_phdr_info& info, const ElfW(Phdr) & segment,
              std::uintptr_t address)
{
    const std::uintptr_t begin = info.dlpi_addr + segment.p_vaddr;
    return segment.p_type == PT_LOAD && address - begin < segment.p_memsz;
}

int collectReadOnly(dl_phdr_info* info, std::size_t /*size*/, void* data)
{
    const auto anchor = reinterpret_cast<std::uintptr_t>(kAnchor);
    const std::span<const ElfW(Phdr)> segments(info->dlpi_phdr,
                                               info->dlpi_phnum);
    if (std::none_of(segments.begin(), segments.end(),
                     [&](const ElfW(Phdr) & segment)
                     { return loadedAt(*info, segment, anchor); }))
        return 0;
    auto& image = *static_cast<ReadOnlyImage*>(data);
    for (const ElfW(Phdr) & segment : segments)
        if (segment.p_type == PT_LOAD && (segment.p_flags & PF_W) == 0 &&
            image.count < image.ranges.size())
            image.ranges[image.count++] = {info->dlpi_addr + segment.p_vaddr,
                                           segment.p_memsz};
    return 1;
}

const ReadOnlyImage& readOnlyImage() noexcept
{
    static const ReadOnlyImage image = []
    {
        ReadOnlyImage found;
        dl_iterate_phdr(collectReadOnly, &found);
        return found;
    }();
    return image;
}

} // namespace

bool inReadOnlyImage(const char* text) noexcept
{
    return readOnlyImage().holds(text);
}

} // namespace qvm
