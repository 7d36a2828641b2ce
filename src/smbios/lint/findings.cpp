#include "smbios/lint/findings.hpp"

#include "common/handles.hpp"

#include <array>
#include <cstdio>

namespace qvm::smbios
{
namespace
{

constexpr const char* kSeverityNames[] = {"error", "warning", "note"};

std::string where(const Finding& finding)
{
    std::array<char, 64> buffer{};
    if (finding.handle)
        std::snprintf(buffer.data(), buffer.size(),
                      "handle 0x%04X, type %u, offset 0x%04zX", *finding.handle,
                      static_cast<unsigned>(finding.type.value_or(0)),
                      finding.offset);
    else
        std::snprintf(buffer.data(), buffer.size(), "table, offset 0x%04zX",
                      finding.offset);
    return buffer.data();
}

// json-c keeps numbers as int64_t; a size_t offset fits on every target
// the table can be on (tables are far below 2^63 bytes).
json_object* number(std::size_t value)
{
    return json_object_new_int64(static_cast<std::int64_t>(value));
}

json_object* findingObject(const Finding& finding)
{
    json_object* object = json_object_new_object();
    json_object_object_add(
        object, "severity",
        json_object_new_string(severityName(finding.severity)));
    json_object_object_add(object, "handle",
                           finding.handle ? number(*finding.handle) : nullptr);
    json_object_object_add(object, "type",
                           finding.type ? number(*finding.type) : nullptr);
    json_object_object_add(object, "offset", number(finding.offset));
    json_object_object_add(object, "sentence",
                           json_object_new_string(finding.sentence.c_str()));
    return object;
}

} // namespace

const char* severityName(Severity severity) noexcept
{
    return kSeverityNames[static_cast<std::size_t>(severity)];
}

std::string findingsText(std::span<const Finding> findings)
{
    std::string text;
    for (const Finding& finding : findings)
    {
        text += severityName(finding.severity);
        text += ": ";
        text += where(finding);
        text += ": ";
        text += finding.sentence;
        text += '\n';
    }
    return text;
}

std::string findingsJson(std::span<const Finding> findings)
{
    std::array<std::size_t, std::size(kSeverityNames)> counts{};
    const JsonPtr list(json_object_new_array());
    for (const Finding& finding : findings)
    {
        ++counts[static_cast<std::size_t>(finding.severity)];
        json_object_array_add(list.get(), findingObject(finding));
    }
    const JsonPtr document(json_object_new_object());
    json_object_object_add(document.get(), "errors", number(counts[0]));
    json_object_object_add(document.get(), "warnings", number(counts[1]));
    json_object_object_add(document.get(), "notes", number(counts[2]));
    json_object_object_add(document.get(), "findings",
                           json_object_get(list.get()));
    return json_object_to_json_string_ext(document.get(),
                                          JSON_C_TO_STRING_PLAIN |
                                              JSON_C_TO_STRING_NOSLASHESCAPE);
}

} // namespace qvm::smbios
