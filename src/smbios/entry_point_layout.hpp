// Field offsets of the two SMBIOS entry point forms, for the reader that
// recognises them and the checks that look at each field.
#pragma once

#include <cstddef>

namespace qvm::smbios
{

// The 32-bit form: "_SM_", then the intermediate "_DMI_" part at 0x10.
namespace ep32
{
inline constexpr std::size_t kChecksum = 0x04;
inline constexpr std::size_t kLength = 0x05;
inline constexpr std::size_t kMajor = 0x06;
inline constexpr std::size_t kMinor = 0x07;
inline constexpr std::size_t kIntermediate = 0x10; // "_DMI_"
inline constexpr std::size_t kIntermediateChecksum = 0x15;
inline constexpr std::size_t kIntermediateLength = 0x0F;
inline constexpr std::size_t kTableLength = 0x16;
inline constexpr std::size_t kTableAddress = 0x18;
inline constexpr std::size_t kStructureCount = 0x1C;
inline constexpr std::size_t kMinLength = 0x1E;
inline constexpr std::size_t kFullLength = 0x1F;
} // namespace ep32

// The 64-bit form of SMBIOS 3.0 on: "_SM3_".
namespace ep64
{
inline constexpr std::size_t kChecksum = 0x05;
inline constexpr std::size_t kLength = 0x06;
inline constexpr std::size_t kMajor = 0x07;
inline constexpr std::size_t kMinor = 0x08;
inline constexpr std::size_t kDocrev = 0x09;
inline constexpr std::size_t kRevision = 0x0A;
inline constexpr std::size_t kMaxSize = 0x0C;
inline constexpr std::size_t kTableAddress = 0x10;
inline constexpr std::size_t kMinLength = 0x18;
} // namespace ep64

} // namespace qvm::smbios
