// Replays table.transcript: tables loaded through the exported interface
// and what its walk, selection, string, identity and descriptor-map calls
// give. Offsets are from the start of the loaded table.
//
//     load TABLE          SmbiosInit on a file of the table, written as
//                         support/structure_words.hpp says
//     cleanup             SmbiosCleanup
//     walk                SmbiosGetStructure from 0xFFFF to the end
//     get HANDLE          one SmbiosGetStructure call
//     select TYPE         SmbiosGetStructureOfType
//     string OFFSET N     SmbiosGetString on the structure at OFFSET
//     version             the version pair and the table's length
//     bios KEY            GetBiosInfo
//     tag|name|details KEY   GetServiceTag, GetSystemName, GetSystemDetails
//     export [N]          SmBiosDataToJSON N times (1) to one new file
//     structure OFFSET SIZE   qvmSmbiosAddStructure to a new file
//     fqdd                PopulateFqdds and the map it made
//     find HANDLE         FindFqdd
#include "qvmclient.h"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "support/structure_words.hpp"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

namespace
{

using qvmtest::transcript::Args;
using qvmtest::transcript::quoted;
using Results = std::vector<std::string>;

std::string where(const void* p)
{
    if (p == nullptr)
        return "null";
    const auto at = reinterpret_cast<std::uintptr_t>(p) -
                    reinterpret_cast<std::uintptr_t>(m_SmbiosStruct);
    if (m_SmbiosStruct == nullptr || at > std::uintptr_t(gSMTableLength))
        return "outside";
    return std::to_string(at);
}

std::string hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string get(uint16_t& handle)
{
    uint8_t* structure = nullptr;
    uint16_t length = 0;
    const int64_t rc = SmbiosGetStructure(&handle, &structure, &length);
    return "rc " + std::to_string(rc) + " at " + where(structure) + " size " +
           std::to_string(length) + " next " + hex(handle);
}

// The walk must end well within one call per byte.
Results walk()
{
    Results out;
    uint16_t handle = 0xFFFF;
    const auto limit = static_cast<std::size_t>(gSMTableLength) + 1;
    do
        out.push_back(get(handle));
    while (out.back().starts_with("rc 0 ") && handle != 0xFFFF &&
           out.size() <= limit);
    if (out.size() > limit)
        out.emplace_back("the walk does not end");
    return out;
}

Results select(uint8_t type)
{
    uint8_t** structures = nullptr;
    uint16_t* lengths = nullptr;
    uint16_t count = 0;
    const int64_t rc =
        SmbiosGetStructureOfType(type, &structures, &lengths, &count);
    std::string line =
        "rc " + std::to_string(rc) + " count " + std::to_string(count);
    for (uint16_t i = 0; rc == QVM_RC_SUCCESS && i < count; ++i)
        line += " " + where(structures[i]) + "/" + std::to_string(lengths[i]);
    std::free(structures);
    std::free(lengths);
    return {line};
}

Results string(std::size_t offset, uint16_t number)
{
    uint8_t* slot = m_SmbiosStruct + offset;
    const char* text = SmbiosGetString(&slot, number);
    return {(text ? quoted(text) : "null") + " slot " + where(slot)};
}

std::string pair(unsigned major, unsigned minor)
{
    return std::to_string(major) + "." + std::to_string(minor);
}

std::string text(const char* s)
{
    return s ? quoted(s) : "null";
}

Results bios(const char* key)
{
    SmbiosBiosInfo* info = nullptr;
    const int64_t rc = GetBiosInfo(key, &info);
    Results out{"rc " + std::to_string(rc)};
    if (info == nullptr)
        return out;
    out.push_back("version " + text(info->bios_version) + " serial " +
                  text(info->serial_number) + " product " +
                  text(info->product_name) + " release " +
                  std::to_string(info->major_release) + "." +
                  std::to_string(info->minor_release));
    std::free(info);
    return out;
}

// Status and text; the text pointer starts as a sentinel, so "left alone"
// and "set to null" can be told apart. A second call must hand out its
// own copy of the same.
Results identity(int64_t (*query)(const char*, char**), const char* key)
{
    Results out;
    for (int call = 0; call < 2; ++call)
    {
        static char sentinel[] = "untouched";
        char* value = sentinel;
        const int64_t rc = query(key, &value);
        out.push_back("rc " + std::to_string(rc) + " " +
                      (value == sentinel ? "untouched" : text(value)));
        if (value != sentinel)
            std::free(value);
    }
    if (out[0] == out[1])
        out.pop_back();
    return out;
}

// The status, then the text written to a new file, quoted line by line.
template <typename Write> Results written(Write write)
{
    const std::string path = testing::TempDir() + "qvm-table-transcript-" +
                             std::to_string(getpid()) + ".json";
    std::remove(path.c_str());
    Results out{"rc " + std::to_string(write(path.c_str()))};
    for (const auto& line :
         qvmtest::transcript::splitLines(qvmtest::transcript::readText(path)))
        out.push_back(quoted(line));
    std::remove(path.c_str());
    return out;
}

Results fqdd()
{
    const int64_t rc = PopulateFqdds();
    Results out{"rc " + std::to_string(rc) + " supported " +
                std::to_string(TypeE1Supported) + " entries " +
                std::to_string(m_countE1)};
    std::string tables =
        g_E1table == nullptr ? "structures null" : "structures";
    for (int64_t i = 0; i < g_E1tableCount; ++i)
        tables += " " + where(g_E1table[i]);
    out.push_back(tables);
    return out;
}

Results find(uint32_t handle)
{
    const FqddMapEntry* e = FindFqdd(handle);
    if (e == nullptr)
        return {"none"};
    return {"entry " + std::to_string(e - m_Fqdd) + " bytes " +
            std::to_string(e->entry_byte0) + " " +
            std::to_string(e->entry_byte3) + " structure " +
            std::to_string(e->table_index)};
}

Results call(const std::string& line)
{
    std::istringstream in(line);
    const Args a(in);
    const std::string op = a.text(0);
    const auto number = [&](std::size_t i) { return a.unsignedNumber(i); };
    if (op == "load")
    {
        const qvmtest::TempFile file(qvmtest::tableFromWords(a, 1).build());
        return {"rc " + std::to_string(SmbiosInit(file.path().c_str()))};
    }
    if (op == "cleanup")
        SmbiosCleanup();
    if (op == "walk")
        return walk();
    if (op == "get")
    {
        auto handle = static_cast<uint16_t>(number(1));
        return {get(handle)};
    }
    if (op == "select")
        return select(static_cast<uint8_t>(number(1)));
    if (op == "string")
        return string(number(1), static_cast<uint16_t>(number(2)));
    if (op == "version")
        return {"smbios " + pair(SmbiosMajorVersion, SmbiosMinorVersion) +
                " release " + pair(MajorVersion, MinorVersion) + " reported " +
                pair(GetSmbiosMajorVersion(), GetSmbiosMinorVersion()) +
                " length " + std::to_string(gSMTableLength) +
                (m_SmbiosStruct == nullptr ? " no table" : "") +
                (gSMDataBuffer != m_SmbiosStruct ? " buffer differs" : "")};
    if (op == "bios")
        return bios(a.text(1));
    if (op == "tag")
        return identity(GetServiceTag, a.text(1));
    if (op == "name")
        return identity(GetSystemName, a.text(1));
    if (op == "details")
        return identity(GetSystemDetails, a.text(1));
    if (op == "fqdd")
        return fqdd();
    if (op == "export")
        return written(
            [&](const char* path)
            {
                int64_t rc = 0;
                for (uint64_t n = a.size() > 1 ? number(1) : 1; n > 0; --n)
                    rc = SmBiosDataToJSON(path);
                return rc;
            });
    if (op == "structure")
        return written(
            [&](const char* path)
            {
                uint8_t* at = m_SmbiosStruct + number(1);
                return qvmSmbiosAddStructure(
                    &at, static_cast<uint32_t>(number(2)), path);
            });
    if (op == "find")
        return find(static_cast<uint32_t>(number(1)));
    return op == "cleanup" ? Results{} : Results{"unknown call"};
}

} // namespace

TEST(TableTranscript, EveryCallGivesWhatItSays)
{
    qvmtest::expectTranscript(QVM_TABLE_TRANSCRIPT, call);
    SmbiosCleanup();
}
