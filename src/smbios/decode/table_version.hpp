// An SMBIOS version pair, for decoders whose meaning of a field changed
// between versions.
#pragma once

#include <cstdint>

namespace qvm::decode
{

struct SmbiosVersion
{
    uint8_t major;
    uint8_t minor;

    constexpr bool atLeast(uint8_t wantMajor, uint8_t wantMinor) const
    {
        return major > wantMajor || (major == wantMajor && minor >= wantMinor);
    }
};

} // namespace qvm::decode
