// Runs the table linter over arbitrary bytes: the first two name the SMBIOS
// version, the rest is the table. Besides the sanitizers, it checks that
// every finding points inside the table (or just past its end, for what is
// missing there) and that the JSON rendering is strict JSON with one entry
// per finding.
#include "fuzz_support.hpp"
#include "smbios/lint/findings.hpp"
#include "strict_json.hpp"

#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qvmfuzz::ByteSource source(data, size);
    const qvm::decode::SmbiosVersion version{source.byte(), source.byte()};
    const std::span<const uint8_t> table =
        size > 2 ? std::span(data + 2, size - 2) : std::span<const uint8_t>{};
    const auto findings = qvm::smbios::lintTable(table, version);
    for (const auto& finding : findings)
        qvmfuzz::require(finding.offset <= table.size() &&
                         !finding.sentence.empty());
    const std::string json = qvm::smbios::findingsJson(findings);
    qvmfuzz::require(qvmfuzz::isStrictJson(json));
    const auto parsed = nlohmann::json::parse(json);
    qvmfuzz::require(parsed.at("findings").size() == findings.size());
    (void)qvm::smbios::findingsText(findings);
    return 0;
}
