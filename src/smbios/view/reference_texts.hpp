// Code-to-text tables in the reference decoder's wording.
#pragma once

#include <cstdint>

namespace qvm::smbios
{

// Text printed for an out-of-range code.
inline constexpr const char* kOutOfSpec = "<OUT OF SPEC>";

// Processor family by code (a word code from 0x100 on); null when the code
// has no text of its own (0xBE and 0xFE need the structure around them).
const char* processorFamilyText(std::uint16_t code) noexcept;
// Enclosure type; the lock bit (bit 7) is ignored. Null out of range.
const char* chassisTypeText(std::uint8_t code) noexcept;

} // namespace qvm::smbios
