// The table linter on tables with one defect each, on a clean table, on
// the bundled sample, the real tables and the generation tables. What each must
// find lies in data/lint/findings.transcript ("$ case" and the findings' text
// lines); QVM_UPDATE_GOLDEN=1 rewrites it from this build, for review.
#include "dump_file.hpp"
#include "smbios/lint/findings.hpp"
#include "support/loaded_table.hpp"
#include "tablegen/generation_tables.hpp"
#include "tablegen/sample_table.hpp"

#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <map>
#include <string>

namespace
{

using qvmtest::Bytes;
using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;
using Structures = std::vector<StructureBuilder>;

const std::string kData = QVM_TEST_DATA_DIR;
constexpr qvm::decode::SmbiosVersion kVersion{3, 0};

// Handles: the type in the high byte, the instance in the low one.
constexpr std::uint16_t handle(std::uint8_t type, int instance = 0)
{
    return static_cast<std::uint16_t>(type << 8 | instance);
}

StructureBuilder memoryArray(std::uint8_t length)
{
    return StructureBuilder(16, length, handle(16))
        .u8(4, 3)
        .u8(5, 3)
        .u8(6, 3)
        .u16(0x0B, 0xFFFE)
        .u16(0x0D, 1);
}

StructureBuilder memoryDevice(std::uint8_t length)
{
    return StructureBuilder(17, length, handle(17))
        .u16(4, handle(16))
        .u16(6, 0xFFFE)
        .u8(0x0E, 9)
        .string(0x10, "DIMM A0")
        .u8(0x12, 0x1A)
        .u16(0x13, 0x80);
}

StructureBuilder cache(int level)
{
    return StructureBuilder(7, 0x13, handle(7, level))
        .string(4, "L" + std::to_string(level))
        .u16(5, static_cast<std::uint16_t>(0x180 | (level - 1)))
        .u8(0x10, 5)
        .u8(0x11, 5)
        .u8(0x12, 8);
}

// A small SMBIOS 3.0 table that breaks no rule: every required type, every
// handle reference resolved, every code defined.
Structures clean()
{
    Structures s;
    s.push_back(StructureBuilder(0, 0x18, handle(0))
                    .string(4, "Maker")
                    .string(5, "1.0")
                    .string(8, "01/02/2026")
                    .u8(0x14, 3)
                    .u8(0x15, 0));
    s.push_back(StructureBuilder(1, 0x1B, handle(1))
                    .string(4, "Maker")
                    .string(5, "Model")
                    .u8(0x18, 6));
    s.push_back(StructureBuilder(3, 0x15, handle(3))
                    .string(4, "Maker")
                    .u8(5, 0x17)
                    .u8(9, 3)
                    .u8(0x0A, 3)
                    .u8(0x0B, 3)
                    .u8(0x0C, 3));
    s.push_back(StructureBuilder(4, 0x30, handle(4))
                    .string(4, "CPU0")
                    .u8(5, 3)
                    .u8(6, 0xB3)
                    .string(7, "Maker")
                    .u8(0x18, 0x41)
                    .u16(0x1A, handle(7, 1))
                    .u16(0x1C, handle(7, 2))
                    .u16(0x1E, handle(7, 3)));
    for (int level = 1; level <= 3; ++level)
        s.push_back(cache(level));
    s.push_back(StructureBuilder(9, 0x11, handle(9))
                    .string(4, "SLOT1")
                    .u8(5, 0xA5)
                    .u8(7, 3)
                    .u8(8, 4));
    s.push_back(memoryArray(0x17));
    s.push_back(memoryDevice(0x28));
    s.push_back(StructureBuilder(19, 0x1F, handle(19))
                    .u16(0x0C, handle(16))
                    .u8(0x0E, 1));
    s.push_back(StructureBuilder(32, 0x0B, handle(32)));
    s.push_back(StructureBuilder(127, 4, 0xFEFF));
    return s;
}

Bytes join(const Structures& structures)
{
    TableBuilder table;
    for (const auto& s : structures)
        table.add(s);
    return table.build();
}

// The clean table with one change; index is the structure's place in it.
Bytes changed(std::size_t index,
              const std::function<void(StructureBuilder&)>& change)
{
    Structures s = clean();
    change(s.at(index));
    return join(s);
}

Bytes without(std::size_t index)
{
    Structures s = clean();
    s.erase(s.begin() + static_cast<std::ptrdiff_t>(index));
    return join(s);
}

Bytes withTail(const Bytes& tail)
{
    Bytes bytes = without(clean().size() - 1);
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
}

// Places of the clean table's structures.
enum Place : std::size_t
{
    kBios,
    kSystem,
    kChassis,
    kProcessor,
    kCache1,
    kSlot = 7,
    kArray,
    kDimm,
    kMapping,
    kBoot,
    kEnd,
};

std::map<std::string, Bytes> defectTables()
{
    std::map<std::string, Bytes> t;
    t["clean"] = join(clean());
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
        Structures s = clean();
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

std::string lintText(std::span<const std::uint8_t> table,
                     qvm::decode::SmbiosVersion version)
{
    return qvm::smbios::findingsText(qvm::smbios::lintTable(table, version));
}

// Every case's findings as "$ case" and text lines, in case order.
std::string allFindings()
{
    std::string text;
    for (const auto& [name, bytes] : defectTables())
        text += "$ " + name + "\n" + lintText(bytes, kVersion);
    for (const char* real : {"lenovo-thinkpad-t430", "lenovo-thinkpad-t490",
                             "lenovo-thinkpad-w510"})
    {
        const auto dump =
            qvmtest::readDump(kData + "/real-tables/" + real + ".dumpbin");
        text += std::string("$ ") + real + "\n" +
                lintText(dump.table(), dump.version);
    }
    // Their only findings: the deliberately short memory devices. The code
    // tables are made of out-of-range codes and left out.
    for (const auto& generation : tablegen::generationTables())
    {
        if (!generation.name.starts_with("codes-"))
            text += "$ " + generation.name + "\n" +
                    lintText(generation.table.build(),
                             {generation.major, generation.minor});
    }
    return text;
}

TEST(Lint, FindsWhatTheTranscriptSays)
{
    const std::string path = kData + "/lint/findings.transcript";
    const std::string found = allFindings();
    if (std::getenv("QVM_UPDATE_GOLDEN") != nullptr)
        qvmtest::writeText(path, found);
    EXPECT_EQ(found, qvmtest::readText(path));
}

// The base of every defect case, so each case's findings are its defect's.
TEST(Lint, CleanTableHasNoFinding)
{
    EXPECT_EQ(lintText(join(clean()), kVersion), "");
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
    const std::string path = kData + "/lint/strings-unterminated.json";
    if (std::getenv("QVM_UPDATE_GOLDEN") != nullptr)
        qvmtest::writeText(path, text + "\n");
    EXPECT_EQ(text + "\n", qvmtest::readText(path));
}

} // namespace
