// Loads arbitrary bytes as the SMBIOS table and runs every table query and
// the JSON export over them. Besides the sanitizers, it checks the promises
// callers rely on: a walk by handles ends, everything handed out lies inside
// the table, skipping a structure's strings lands exactly on its successor,
// the export is always one JSON array in strict JSON, whatever bytes the
// host's strings hold, and each structure's text is the same whether written
// straight from its fields or through the field strings.
#include "capi/loaded_table.hpp"
#include "capi/tagged_structure.hpp"
#include "fuzz_support.hpp"
#include "qvmclient.h"
#include "smbios/structure_json.hpp"
#include "capi/table_state.hpp"
#include "strict_json.hpp"

#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

using qvmfuzz::require;
using qvmfuzz::ScratchFile;

ScratchFile& tableFile()
{
    static ScratchFile file("fuzz-smbios-table");
    return file;
}

bool insideTable(const void* p, size_t size)
{
    const auto start = reinterpret_cast<uintptr_t>(m_SmbiosStruct);
    const auto where = reinterpret_cast<uintptr_t>(p);
    return where >= start &&
           where - start <= static_cast<size_t>(gSMTableLength) &&
           size <= static_cast<size_t>(gSMTableLength) - (where - start);
}

void walkByHandles()
{
    // Every structure is at least 6 bytes long.
    const size_t limit = static_cast<size_t>(gSMTableLength) / 6 + 1;
    uint16_t handle = 0xFFFF;
    for (size_t calls = 0;; ++calls)
    {
        require(calls <= limit);
        uint8_t* structure = nullptr;
        uint16_t length = 0;
        if (SmbiosGetStructure(&handle, &structure, &length) != QVM_RC_SUCCESS)
            return;
        require(length >= 6 && insideTable(structure, length));
        if (handle == 0xFFFF)
            return;
    }
}

void lookUpStrings(uint8_t* structure, uint16_t length)
{
    for (uint16_t number = 0; number <= 256; ++number)
    {
        uint8_t* slot = structure;
        if (const char* text = SmbiosGetString(&slot, number))
            require(insideTable(text, std::strlen(text) + 1));
    }
    uint8_t* slot = structure;
    require(SmbiosGetString(&slot, 0xFFFF) == nullptr);
    require(slot == structure + length);
}

// Field reads near the start, across the end of the formatted area and at
// offsets that would wrap.
void readFields(const qvm::smbios::StructureView& view)
{
    unsigned sum = 0;
    const size_t length = view.length();
    const size_t offsets[] = {0, 4, 250, 256, SIZE_MAX - 2, SIZE_MAX};
    auto read = [&](size_t offset)
    {
        sum += view.byte(offset) + view.word(offset) + view.dword(offset) +
               static_cast<unsigned>(view.qword(offset));
        for (size_t width : {size_t{1}, size_t{8}, size_t{40}})
        {
            const auto field = view.field(offset, width);
            if (field)
                sum += field.data()[width - 1];
        }
    };
    for (size_t offset : offsets)
        read(offset);
    for (size_t offset = length > 9 ? length - 9 : 0; offset <= length + 1;
         ++offset)
        read(offset);
    // Keeps the reads from being optimised away.
    asm volatile("" : : "r"(sum));
}

void selectEveryType()
{
    for (unsigned type = 0; type < 256; ++type)
    {
        uint16_t count = 0;
        uint8_t** structures = nullptr;
        uint16_t* lengths = nullptr;
        const int64_t counted =
            SmbiosGetStructureOfType(type, nullptr, nullptr, &count);
        if (SmbiosGetStructureOfType(type, &structures, &lengths, &count) !=
            QVM_RC_SUCCESS)
        {
            require(counted != QVM_RC_SUCCESS);
            continue;
        }
        for (uint16_t i = 0; i < count; ++i)
        {
            require(structures[i][0] == type);
            require(insideTable(structures[i], lengths[i]));
            lookUpStrings(structures[i], lengths[i]);
        }
        std::free(structures);
        std::free(lengths);
    }
    for (const auto& entry : qvm::smbios::loadedTable())
        readFields(entry.view);
}

void askIdentity()
{
    SmbiosBiosInfo* info = nullptr;
    if (GetBiosInfo("SMBIOSBIOSInfo", &info) == QVM_RC_SUCCESS)
        std::free(info);
    (void)GetSmbiosMajorVersion();
    (void)GetSmbiosMinorVersion();
    for (const char* key :
         {"SMBIOSServiceTagString", "SMBIOSSystemNameString", "SMBIOSBIOSInfo"})
    {
        char* text = nullptr;
        if (GetServiceTag(key, &text) == QVM_RC_SUCCESS)
            std::free(text);
        if (GetSystemName(key, &text) == QVM_RC_SUCCESS)
            std::free(text);
        if (GetSystemDetails(key, &text) == QVM_RC_SUCCESS)
            std::free(text);
    }
}

void mapDescriptors()
{
    if (PopulateFqdds() != QVM_RC_SUCCESS)
    {
        require(m_countE1 == 0 && FindFqdd(0) == nullptr);
        return;
    }
    for (uint16_t i = 0; i < m_countE1; ++i)
    {
        const FqddMapEntry* found = FindFqdd(m_Fqdd[i].handle);
        require(found != nullptr && found <= &m_Fqdd[i]);
    }
    require(FindFqdd(0x10000) == nullptr);
}

// Whatever the table holds, the export is one JSON array.
void exportTable()
{
    static ScratchFile output("fuzz-smbios-json");
    const std::string& path = output.write(nullptr, 0);
    require(SmBiosDataToJSON(path.c_str()) == QVM_RC_SUCCESS);
    const std::string text = output.read();
    require(text.starts_with('[') && qvmfuzz::isStrictJson(text));
}

// The export writes each structure straight from its fields; the field
// strings of the C interface must give the same bytes and statuses.
void compareWithFieldStrings()
{
    const auto context = qvm::capi::loadedContext();
    for (const auto& entry : context.table)
    {
        const auto direct =
            qvm::smbios::structureJson(entry.view, entry.size, context.decode);
        const auto tagged = qvm::capi::taggedStructureJson(
            entry.view, entry.size, context.decode);
        require(direct.status == tagged.status && direct.text == tagged.text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SmbiosInit(tableFile().write(data, size).c_str());
    walkByHandles();
    selectEveryType();
    askIdentity();
    mapDescriptors();
    exportTable();
    compareWithFieldStrings();
    SmbiosCleanup();
    return 0;
}
