#include "smbios/view/keywords.hpp"

#include "common/text.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/reference_texts.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <strings.h>

namespace qvm::smbios
{
namespace
{

constexpr std::uint8_t kEndOfTable = 127;
constexpr std::uint8_t kOemStrings = 11;
constexpr std::size_t kOemCount = 4;

constexpr Keyword kKeywords[] = {
    {"bios-vendor", 0, 0x04, KeywordKind::String},
    {"bios-version", 0, 0x05, KeywordKind::String},
    {"bios-release-date", 0, 0x08, KeywordKind::String},
    {"bios-revision", 0, 0x15, KeywordKind::Revision},
    {"firmware-revision", 0, 0x17, KeywordKind::Revision},
    {"system-manufacturer", 1, 0x04, KeywordKind::String},
    {"system-product-name", 1, 0x05, KeywordKind::String},
    {"system-version", 1, 0x06, KeywordKind::String},
    {"system-serial-number", 1, 0x07, KeywordKind::String},
    {"system-uuid", 1, 0x08, KeywordKind::Uuid},
    {"system-sku-number", 1, 0x19, KeywordKind::String},
    {"system-family", 1, 0x1A, KeywordKind::String},
    {"baseboard-manufacturer", 2, 0x04, KeywordKind::String},
    {"baseboard-product-name", 2, 0x05, KeywordKind::String},
    {"baseboard-version", 2, 0x06, KeywordKind::String},
    {"baseboard-serial-number", 2, 0x07, KeywordKind::String},
    {"baseboard-asset-tag", 2, 0x08, KeywordKind::String},
    {"chassis-manufacturer", 3, 0x04, KeywordKind::String},
    {"chassis-type", 3, 0x05, KeywordKind::ChassisType},
    {"chassis-version", 3, 0x06, KeywordKind::String},
    {"chassis-serial-number", 3, 0x07, KeywordKind::String},
    {"chassis-asset-tag", 3, 0x08, KeywordKind::String},
    {"processor-family", 4, 0x06, KeywordKind::ProcessorFamily},
    {"processor-manufacturer", 4, 0x07, KeywordKind::String},
    {"processor-version", 4, 0x10, KeywordKind::String},
    {"processor-frequency", 4, 0x16, KeywordKind::Frequency},
};

struct TypeKeyword
{
    const char* name;
    std::span<const std::uint8_t> types;
};

constexpr std::uint8_t kBiosTypes[] = {0, 13};
constexpr std::uint8_t kSystemTypes[] = {1, 12, 15, 23, 32};
constexpr std::uint8_t kBaseboardTypes[] = {2, 10, 41};
constexpr std::uint8_t kChassisTypes[] = {3};
constexpr std::uint8_t kProcessorTypes[] = {4};
constexpr std::uint8_t kMemoryTypes[] = {5, 6, 16, 17};
constexpr std::uint8_t kCacheTypes[] = {7};
constexpr std::uint8_t kConnectorTypes[] = {8};
constexpr std::uint8_t kSlotTypes[] = {9};

constexpr TypeKeyword kTypeKeywords[] = {
    {"bios", kBiosTypes},           {"system", kSystemTypes},
    {"baseboard", kBaseboardTypes}, {"chassis", kChassisTypes},
    {"processor", kProcessorTypes}, {"memory", kMemoryTypes},
    {"cache", kCacheTypes},         {"connector", kConnectorTypes},
    {"slot", kSlotTypes},
};

constexpr auto kTypeKeywordNames = []
{
    std::array<const char*, std::size(kTypeKeywords)> names{};
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = kTypeKeywords[i].name;
    return names;
}();

// Calls visit for every structure of the type before the end-of-table
// structure, which ends the table as far as the answers go.
template <typename Visit>
void forEachOfType(std::span<const std::uint8_t> table, std::uint8_t type,
                   Visit&& visit)
{
    for (const auto& entry : TableView(table))
    {
        if (entry.view.type() == kEndOfTable)
            return;
        if (entry.view.type() == type)
            visit(entry.view);
    }
}

// A string as printed: control characters and every byte outside ASCII
// become dots, so the line is plain text whatever the host wrote.
std::string printable(const char* text)
{
    std::string out(text);
    for (char& c : out)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F)
            c = '.';
    }
    return out;
}

std::string stringText(const StructureView& view, std::uint8_t number)
{
    if (number == 0)
        return "Not Specified";
    const char* text = view.string(number);
    if (text == nullptr || *text == '\0')
        return "<BAD INDEX>";
    return printable(text);
}

std::string format(const char* pattern, unsigned a, unsigned b = 0)
{
    std::array<char, 32> buffer{};
    std::snprintf(buffer.data(), buffer.size(), pattern, a, b);
    return buffer.data();
}

// Nothing when either byte says "not available" (0xFF).
std::optional<std::string> revisionText(const StructureView& view,
                                        std::uint8_t offset)
{
    const unsigned major = view.byte(offset - 1u);
    const unsigned minor = view.byte(offset);
    if (major == 0xFF || minor == 0xFF)
        return std::nullopt;
    return format("%u.%u", major, minor);
}

bool madeBy(const std::string& manufacturer, const char* maker)
{
    return manufacturer.find(maker) != std::string::npos ||
           strncasecmp(manufacturer.c_str(), maker,
                       std::char_traits<char>::length(maker)) == 0;
}

// Two codes are ambiguous and resolved by the processor's manufacturer:
// 0x30 only in SMBIOS 2.0 tables, 0xBE always.
std::string familyText(const StructureView& view, decode::SmbiosVersion version)
{
    constexpr std::size_t kFamily = 0x06;
    constexpr std::size_t kManufacturer = 0x07;
    constexpr std::size_t kFamily2 = 0x28;
    const std::uint8_t family = view.byte(kFamily);
    const bool named = view.length() > kManufacturer;
    const std::string maker =
        named ? stringText(view, view.byte(kManufacturer)) : "";
    if (family == 0x30 && version.major == 2 && version.minor == 0 && named &&
        madeBy(maker, "Intel"))
        return "Pentium Pro";
    const std::uint16_t code = family == 0xFE && view.length() >= kFamily2 + 2
                                   ? view.word(kFamily2)
                                   : family;
    if (code == 0xBE)
    {
        if (named && madeBy(maker, "Intel"))
            return "Core 2";
        if (named && madeBy(maker, "AMD"))
            return "K7";
        return "Core 2 or K7";
    }
    const char* text = processorFamilyText(code);
    return text != nullptr ? text : kOutOfSpec;
}

std::optional<std::string> fieldText(const StructureView& view,
                                     decode::SmbiosVersion version,
                                     const Keyword& keyword)
{
    const std::uint8_t offset = keyword.offset;
    switch (keyword.kind)
    {
        case KeywordKind::String:
            return stringText(view, view.byte(offset));
        case KeywordKind::Revision:
            return revisionText(view, offset);
        case KeywordKind::Uuid:
            return uuidText(view, offset, version);
        case KeywordKind::ChassisType:
        {
            const char* text = chassisTypeText(view.byte(offset));
            return text != nullptr ? text : kOutOfSpec;
        }
        case KeywordKind::ProcessorFamily:
            return familyText(view, version);
        case KeywordKind::Frequency:
        {
            const unsigned mhz = view.word(offset);
            return mhz != 0 ? format("%u MHz", mhz) : "Unknown";
        }
    }
    return std::nullopt;
}

} // namespace

// From SMBIOS 2.6 on, the first three fields are little-endian.
std::string uuidText(const StructureView& view, std::uint8_t offset,
                     decode::SmbiosVersion version)
{
    std::array<std::uint8_t, 16> b{};
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = view.byte(offset + i);
    if (std::all_of(b.begin(), b.end(), [](auto x) { return x == 0xFF; }))
        return "Not Present";
    if (std::all_of(b.begin(), b.end(), [](auto x) { return x == 0; }))
        return "Not Settable";
    if (version.atLeast(2, 6))
    {
        std::reverse(b.begin(), b.begin() + 4);
        std::reverse(b.begin() + 4, b.begin() + 6);
        std::reverse(b.begin() + 6, b.begin() + 8);
    }
    std::string out;
    for (std::size_t i = 0; i < b.size(); ++i)
    {
        if (i == 4 || i == 6 || i == 8 || i == 10)
            out += '-';
        out += format("%02x", b[i]);
    }
    return out;
}

std::span<const Keyword> stringKeywords() noexcept
{
    return kKeywords;
}

const Keyword* findKeyword(std::string_view name) noexcept
{
    for (const Keyword& keyword : kKeywords)
    {
        if (name == keyword.name)
            return &keyword;
    }
    return nullptr;
}

// Only the field's first byte has to lie inside the formatted area; a
// longer field (a UUID, a word) is read on as the table's bytes lie, the
// way operators' scripts have always seen it.
Answer answer(std::span<const std::uint8_t> table,
              decode::SmbiosVersion version, const Keyword& keyword)
{
    Answer result;
    forEachOfType(table, keyword.type,
                  [&](const StructureView& view)
                  {
                      if (keyword.offset >= view.length())
                          return;
                      if (auto text = fieldText(view, version, keyword))
                          result.out.push_back(std::move(*text));
                  });
    return result;
}

Answer answerOemString(std::span<const std::uint8_t> table, std::uint8_t number)
{
    Answer result;
    forEachOfType(table, kOemStrings,
                  [&](const StructureView& view)
                  {
                      const std::uint8_t count = view.byte(kOemCount);
                      if (view.length() <= kOemCount || number > count)
                          result.err.push_back(
                              format("No OEM string number %u", number));
                      else if (number == 0)
                          result.out.push_back(decimalString(count));
                      else
                          result.out.push_back(stringText(view, number));
                  });
    return result;
}

std::span<const std::uint8_t> typesOfKeyword(std::string_view name) noexcept
{
    for (const TypeKeyword& keyword : kTypeKeywords)
    {
        if (name == keyword.name)
            return keyword.types;
    }
    return {};
}

std::span<const char* const> typeKeywords() noexcept
{
    return kTypeKeywordNames;
}

} // namespace qvm::smbios
