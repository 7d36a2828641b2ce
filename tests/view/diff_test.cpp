// The table comparison on pairs of tables made from the clean table: a
// table against itself, a DIMM swap, a firmware update that renumbers
// handles, adds and drops structures, and a slot renamed in place. What
// each must report lies in data/diff/changes.transcript, and the firmware
// update's JSON in data/diff/firmware-update.json.
#include "clean_table.hpp"
#include "smbios/diff/table_diff.hpp"
#include "support/golden.hpp"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>

namespace
{

using namespace qvmtest::clean;
using qvmtest::Bytes;
using qvmtest::StructureBuilder;

const std::string kData = QVM_TEST_DATA_DIR;

using Side = std::vector<qvm::smbios::StructureFields>;

Side read(const Structures& s)
{
    return qvm::smbios::structureFields(join(s), kVersion);
}

Structures dimmSwap()
{
    Structures s = structures();
    s[kDimm] = memoryDevice(0x28, "9F8E");
    return s;
}

// New BIOS version and date; the slot and the DIMM under new handles; the
// L3 cache gone (and the processor's reference to it); OEM strings added.
Structures firmwareUpdate()
{
    constexpr int kCache3 = kCache1 + 2;
    Structures s = structures();
    s[kBios].string(5, "1.1").string(8, "03/04/2026");
    s[kSlot] = StructureBuilder(9, 0x11, handle(9, 0x10))
                   .string(4, "SLOT1")
                   .u8(5, 0xA5)
                   .u8(7, 3)
                   .u8(8, 4);
    s[kDimm] = StructureBuilder(memoryDevice(0x28)).u16(2, handle(17, 0x10));
    s[kProcessor].u16(0x1E, 0xFFFF);
    s.erase(s.begin() + kCache3);
    s.insert(s.end() - 1,
             StructureBuilder(11, 5, handle(11)).u8(4, 1).string("fw 1.1"));
    return s;
}

Structures slotRenamed()
{
    Structures s = structures();
    s[kSlot] = StructureBuilder(9, 0x11, handle(9))
                   .string(4, "PCIe SLOT1")
                   .u8(5, 0xA5)
                   .u8(7, 3)
                   .u8(8, 4);
    return s;
}

std::map<std::string, std::pair<Structures, Structures>> cases()
{
    return {{"itself", {structures(), structures()}},
            {"dimm-swap", {structures(), dimmSwap()}},
            {"firmware-update", {structures(), firmwareUpdate()}},
            {"slot-renamed", {structures(), slotRenamed()}}};
}

std::string changesText(const Structures& before, const Structures& after)
{
    const Side a = read(before);
    const Side b = read(after);
    return qvm::smbios::changesText(qvm::smbios::diffTables(a, b));
}

TEST(Diff, ReportsWhatTheTranscriptSays)
{
    std::string text;
    for (const auto& [name, tables] : cases())
        text += qvmtest::transcript::entry(
            name, changesText(tables.first, tables.second));
    qvmtest::expectGolden(kData + "/diff/changes.transcript", text);
}

TEST(Diff, JsonCarriesEveryChange)
{
    const Side a = read(structures());
    const Side b = read(firmwareUpdate());
    qvmtest::expectGolden(
        kData + "/diff/firmware-update.json",
        qvm::smbios::changesJson(qvm::smbios::diffTables(a, b)) + "\n");
}

} // namespace
