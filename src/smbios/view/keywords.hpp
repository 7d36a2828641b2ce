// Answers to the questions operators are used to asking a decoder by
// keyword: "-s bios-version", "--oem-string 2", "-t memory". Each answer is
// the text the reference decoder prints for the same table, line for line,
// so that scripts written against it keep working on the BMC.
//
//     const Keyword* keyword = findKeyword("system-uuid");
//     for (const auto& line : answer(table, version, *keyword).out)
//         puts(line.c_str());
#pragma once

#include "smbios/decode/table_version.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qvm::smbios
{

// How a keyword's field becomes text.
enum class KeywordKind : std::uint8_t
{
    String,          // the string the byte numbers
    Revision,        // "major.minor" from the byte before and the byte itself
    Uuid,            // the 16 bytes of a system UUID
    ChassisType,     // enclosure type code
    ProcessorFamily, // family byte, or the family word it points to
    Frequency,       // a word of MHz
};

struct Keyword
{
    const char* name;
    std::uint8_t type;
    std::uint8_t offset;
    KeywordKind kind;
};

// Lines for standard output and for standard error, in table order.
struct Answer
{
    std::vector<std::string> out;
    std::vector<std::string> err;
};

std::span<const Keyword> stringKeywords() noexcept;
const Keyword* findKeyword(std::string_view name) noexcept;

// One line per structure of the keyword's type, up to the end-of-table
// structure, that is long enough to hold the field.
Answer answer(std::span<const std::uint8_t> table,
              decode::SmbiosVersion version, const Keyword& keyword);

// OEM string number (1-255) of every OEM strings structure; number 0 asks
// for the count instead. A structure without that string says so on err.
Answer answerOemString(std::span<const std::uint8_t> table,
                       std::uint8_t number);

// The structure types a type keyword ("bios", "memory", ...) stands for;
// empty for a name that is not one.
std::span<const std::uint8_t> typesOfKeyword(std::string_view name) noexcept;
// The type keywords, in the order they are listed to users.
std::span<const char* const> typeKeywords() noexcept;

} // namespace qvm::smbios
