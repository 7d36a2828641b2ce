// Replays mapping.transcript: one structure (support/structure_words.hpp)
// mapped on its own under a version pair, "faithful" after it for the
// faithful view's policy. A call line is one of
//     map VERSION STRUCTURE          every field string, then any status
//     field KEY VERSION STRUCTURE    the field strings of KEY, or "none"
//     count KEY VERSION STRUCTURE    how many fields KEY has
//     json VERSION STRUCTURE         the structure's JSON object
// A run of equal field strings shows once, with its length.
#include "mapping/mapping_support.hpp"
#include "smbios/structure_json.hpp"
#include "support/golden.hpp"
#include "support/structure_words.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace
{

using namespace qvmtest;
using Results = std::vector<std::string>;

std::string keyOf(const std::string& field)
{
    const auto first = field.find(':') + 1;
    return field.substr(first, field.find(':', first) - first);
}

Results quotedRuns(const std::vector<std::string>& fields)
{
    Results out;
    for (auto at = fields.begin(); at != fields.end();)
    {
        const auto end = std::find_if(at, fields.end(),
                                      [&](const auto& f) { return f != *at; });
        out.push_back(transcript::quoted(*at));
        if (end - at > 1)
            out.back() += " (" + std::to_string(end - at) + " times)";
        at = end;
    }
    return out;
}

Results replay(const std::string& line)
{
    std::istringstream in(line);
    const transcript::Args a(in);
    const std::string op = a.text(0);
    const bool byKey = op == "field" || op == "count";
    const std::string key = byKey ? a.text(1) : "";
    std::size_t at = byKey ? 2 : 1;
    const std::string pair = a.text(at++);
    const SmbiosVersion version{
        static_cast<std::uint8_t>(std::stoi(pair)),
        static_cast<std::uint8_t>(std::stoi(pair.substr(pair.find('.') + 1)))};
    const bool faithful = std::string(a.text(at)) == "faithful";
    const auto policy =
        faithful ? qvm::decode::Policy::Faithful : qvm::decode::Policy::Library;
    const Bytes bytes = tableFromWords(a, at + faithful).build();
    if (op == "json")
        return transcript::splitLines(
            qvm::smbios::structureJson(qvm::smbios::StructureView(bytes),
                                       bytes.size(), {version, policy})
                .text);
    Mapped result = mapped(bytes, version, {}, policy);
    if (byKey)
        std::erase_if(result.fields,
                      [&](const auto& f) { return keyOf(f) != key; });
    if (op == "count")
        return {std::to_string(result.fields.size())};
    Results out = quotedRuns(result.fields);
    if (op == "field" && out.empty())
        out.emplace_back("none");
    if (result.status != 0)
        out.push_back("status " + std::to_string(result.status));
    return out;
}

} // namespace

TEST(MappingTranscript, EveryStructureMapsAsItSays)
{
    expectTranscript(QVM_MAPPING_TRANSCRIPT, replay);
}
