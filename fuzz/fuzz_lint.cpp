// Runs the table linter over arbitrary bytes: the first two name the SMBIOS
// version, the rest is the table; and the whole check over the same bytes
// read as a table file, with any entry point it starts with. Besides the
// sanitizers, it checks that every finding points inside the table (or
// just past its end, for what is missing there) or inside the entry point,
// and that the JSON rendering is strict JSON with one entry per finding.
#include "fuzz_support.hpp"
#include "smbios/lint/check_table.hpp"
#include "smbios/lint/findings.hpp"
#include "strict_json.hpp"

#include <algorithm>
#include <span>

namespace
{

void requireSound(const std::vector<qvm::smbios::Finding>& findings,
                  std::size_t tableSize, std::size_t entryPointSize)
{
    for (const auto& finding : findings)
        qvmfuzz::require(
            finding.offset <=
                (finding.inEntryPoint ? entryPointSize : tableSize) &&
            !finding.sentence.empty());
    const std::string json = qvm::smbios::findingsJson(findings);
    qvmfuzz::require(qvmfuzz::isStrictJson(json));
    const auto parsed = nlohmann::json::parse(json);
    qvmfuzz::require(parsed.at("findings").size() == findings.size());
    (void)qvm::smbios::findingsText(findings);
}

// The bytes as a table file: an entry point, if they start with one, and
// the table it places.
void checkFile(std::span<const uint8_t> file)
{
    const auto ep = qvm::smbios::readEntryPoint(
        file.first(std::min(file.size(), qvm::smbios::kEntryPointRoom)));
    std::span<const uint8_t> table = file;
    if (ep)
    {
        const auto range = qvm::smbios::tableRange(*ep, file.size());
        table = file.subspan(range.offset, range.size);
    }
    const auto check = qvm::smbios::checkTable(ep, table);
    requireSound(check.findings, table.size(), ep ? ep->bytes.size() : 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qvmfuzz::ByteSource source(data, size);
    const qvm::decode::SmbiosVersion version{source.byte(), source.byte()};
    const std::span<const uint8_t> table =
        size > 2 ? std::span(data + 2, size - 2) : std::span<const uint8_t>{};
    requireSound(qvm::smbios::lintTable(table, version), table.size(), 0);
    checkFile(std::span(data, size));
    return 0;
}
