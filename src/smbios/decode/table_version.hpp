// The SMBIOS version of the loaded table, for decoders whose meaning of a
// field changed between versions.
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

// The version the loader recorded; 0.0 while no table is loaded.
SmbiosVersion loadedTableVersion() noexcept;

} // namespace qvm::decode
