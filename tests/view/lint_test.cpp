// The table linter on tables with one defect each (in a structure, in the
// table, in the entry point), on a clean table, on the bundled sample, the
// real tables and the generation tables. What each must find lies in
// data/lint/findings.transcript (each case, then its findings' text lines).
#include "clean_table.hpp"
#include "dump_file.hpp"
#include "smbios/lint/check_table.hpp"
#include "smbios/lint/findings.hpp"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/entry_point_bytes.hpp"
#include "tablegen/generation_tables.hpp"
#include "tablegen/sample_table.hpp"

#include <functional>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <map>
#include <string>

namespace
{

using namespace qvmtest::clean;
using qvmtest::Bytes;
using qvmtest::StructureBuilder;
using qvmtest::transcript::entry;

const std::string kData = QVM_TEST_DATA_DIR;

// The clean table with one change; index is the structure's place in it.
Bytes changed(std::size_t index,
              const std::function<void(StructureBuilder&)>& change)
{
    Structures s = structures();
    change(s.at(index));
    return join(s);
}

Bytes without(std::size_t index)
{
    Structures s = structures();
    s.erase(s.begin() + static_cast<std::ptrdiff_t>(index));
    return join(s);
}

Bytes withTail(const Bytes& tail)
{
    Bytes bytes = without(structures().size() - 1);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

std::map<std::string, Bytes> defectTables()
{
    std::map<std::string, Bytes> t;
    t["clean"] = join(structures());
    t["length-below-version"] =
        changed(kDimm, [](auto& s) { s = memoryDevice(0x22); });
    t["length-above-fixed"] =
        changed(kArray, [](auto& s) { s = memoryArray(0x18); });
    t["length-below-header"] = withTail({1, 2, 0, 1, 0, 0});
    t["length-past-table"] = withTail({1, 0x40, 0, 1, 0, 0});
    t["header-cut"] = withTail({1, 0x1B});
    t["strings-unterminated"] = withTail(
        StructureBuilder(8, 9, handle(8)).rawStrings({'J', '1'}).build());
    t["string-past-last"] = changed(kSystem, [](auto& s) { s.u8(7, 3); });
    t["string-empty-first"] =
        changed(kSlot,
                [](auto& s) {
                    s.u8(4, 2).rawStrings({0, 'S', '1', 0, 0});
                });
    t["after-end"] = [&]
    {
        Structures s = structures();
        s.push_back(StructureBuilder(11, 5, handle(11)).u8(4, 1).string("x"));
        return join(s);
    }();
    t["no-end"] = without(kEnd);
    t["duplicate-handle"] = changed(
        kMapping, [](auto& s)
        { s = StructureBuilder(19, 0x1F, handle(17)).u16(0x0C, handle(16)); });
    t["reference-missing"] = changed(kDimm, [](auto& s) { s.u16(4, 0x1234); });
    t["reference-wrong-type"] =
        changed(kProcessor, [](auto& s) { s.u16(0x1C, handle(9)); });
    t["required-missing"] = without(kBoot);
    t["code-out-of-range"] = changed(kChassis, [](auto& s) { s.u8(5, 0x50); });
    t["reserved-bits"] = changed(kProcessor, [](auto& s) { s.u8(0x18, 0xC1); });
    t["bios-release"] =
        changed(kBios, [](auto& s) { s.u8(0x14, 2).u8(0x15, 3); });
    return t;
}

// The clean table (or s) behind an entry point that announces it as it
// is: 32-bit unless is64; edit changes the entry point's bytes before the
// dump image renews its checksums.
Bytes dumped(bool is64, const std::function<void(Bytes&)>& edit = {},
             qvm::decode::SmbiosVersion version = kVersion,
             const Structures& s = structures())
{
    const Bytes table = join(s);
    Bytes ep =
        tablegen::entryPointBytes(is64, version.major, version.minor,
                                  static_cast<std::uint32_t>(table.size()),
                                  static_cast<std::uint16_t>(s.size()));
    if (edit)
        edit(ep);
    return qvm::smbios::dumpImage(qvm::smbios::readEntryPoint(ep), table);
}

// The dump image of the clean table with a byte changed after it was made.
Bytes damagedDump(bool is64, const std::function<void(Bytes&)>& damage)
{
    Bytes image = dumped(is64);
    damage(image);
    return image;
}

// The clean table with its BIOS release bytes saying version.
Structures releasedAs(qvm::decode::SmbiosVersion version)
{
    Structures s = structures();
    s[kBios].u8(0x14, version.major).u8(0x15, version.minor);
    return s;
}

// Dump images with one defect of the entry point each, found by
// checkTable together with whatever the table behind it holds.
std::map<std::string, Bytes> entryPointDumps()
{
    constexpr qvm::decode::SmbiosVersion kUnpublished{2, 9};
    constexpr qvm::decode::SmbiosVersion kOld{2, 8};
    std::map<std::string, Bytes> t;
    t["ep-clean-32"] = dumped(false);
    t["ep-clean-64"] = dumped(true);
    t["ep-checksum-32"] = damagedDump(false, [](auto& b) { b[0x04] ^= 1; });
    // The intermediate part is inside the whole: keep the whole's sum.
    t["ep-checksum-intermediate"] =
        damagedDump(false, [](auto& b) { ++b[0x15], --b[0x04]; });
    t["ep-checksum-64"] = damagedDump(true, [](auto& b) { b[0x05] ^= 1; });
    t["ep-length-32"] = dumped(false, [](auto& b) { b[0x05] = 0x1E; });
    t["ep-length-64"] =
        dumped(true, [](auto& b) { b.push_back(0), b[0x06] = 0x19; });
    t["ep-version-unpublished"] =
        dumped(false, {}, kUnpublished, releasedAs(kUnpublished));
    t["ep-version-64-before-3"] = dumped(true, {}, kOld, releasedAs(kOld));
    t["ep-announces-more"] = dumped(false, [](auto& b) { b[0x16] += 16; });
    t["ep-count"] = dumped(false, [](auto& b) { ++b[0x1C]; });
    // No longer an entry point: the file reads as a raw table.
    t["ep-anchor-unreadable"] =
        damagedDump(false, [](auto& b) { b[0x10] = 'X'; });
    return t;
}

std::string checkText(const qvmtest::DumpFile& dump)
{
    return qvm::smbios::findingsText(
        qvm::smbios::checkTable(dump.entryPoint, dump.table()).findings);
}

std::string lintText(std::span<const std::uint8_t> table,
                     qvm::decode::SmbiosVersion version)
{
    return qvm::smbios::findingsText(qvm::smbios::lintTable(table, version));
}

// Every case's findings in case order.
std::string allFindings()
{
    std::string text;
    for (const auto& [name, bytes] : defectTables())
        text += entry(name, lintText(bytes, kVersion));
    for (const auto& [name, bytes] : entryPointDumps())
        text += entry(name, checkText(qvmtest::splitDump(bytes)));
    for (const char* real : {"lenovo-thinkpad-t430", "lenovo-thinkpad-t490",
                             "lenovo-thinkpad-w510"})
    {
        const auto dump =
            qvmtest::readDump(kData + "/real-tables/" + real + ".dumpbin");
        text += entry(real, checkText(dump));
    }
    // Their only findings: the deliberately short memory devices. The code
    // tables are made of out-of-range codes and left out.
    for (const auto& generation : tablegen::generationTables())
    {
        if (!generation.name.starts_with("codes-"))
            text += entry(generation.name,
                          lintText(generation.table.build(),
                                   {generation.major, generation.minor}));
    }
    return text;
}

TEST(Lint, FindsWhatTheTranscriptSays)
{
    qvmtest::expectGolden(kData + "/lint/findings.transcript", allFindings());
}

TEST(Lint, SampleTableHasNoError)
{
    const Bytes sample = tablegen::sampleTable().build();
    for (const auto& finding :
         qvm::smbios::lintTable(sample, qvm::decode::SmbiosVersion{3, 2}))
        EXPECT_NE(finding.severity, qvm::smbios::Severity::Error)
            << finding.sentence;
}

TEST(Lint, JsonCountsAndCarriesEveryFinding)
{
    const auto findings = qvm::smbios::lintTable(
        defectTables().at("strings-unterminated"), kVersion);
    const std::string text = qvm::smbios::findingsJson(findings);
    qvmtest::expectGolden(kData + "/lint/strings-unterminated.json",
                          text + "\n");
}

} // namespace
