#include "smbios_structures.hpp"

#include "cli.hpp"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <qvmclient.h>
#include <unistd.h>

namespace qvmcli
{

namespace
{

// Every structure in one walk by handles, which the library resumes where
// its last step stopped. False, with out empty, when that walk may not be
// all: it ends early at a structure whose handle is the end mark (0xFFFF),
// leaving bytes after the last structure it gave, or it holds more of one
// type than a selection by type can. The selection by type, one walk of
// the table per type, is then asked instead.
bool walkAll(std::vector<Structure>& out)
{
    uint16_t handle = 0xFFFF; // the first structure
    std::array<std::size_t, 256> ofType{};
    std::size_t end = 0;
    do
    {
        uint8_t* at = nullptr;
        uint16_t size = 0;
        if (SmbiosGetStructure(&handle, &at, &size) != QVM_RC_SUCCESS ||
            ++ofType[at[0]] > 0xFFFF)
        {
            out.clear();
            return false;
        }
        out.push_back({at, size});
        end = static_cast<std::size_t>(at - m_SmbiosStruct) + size;
    } while (handle != 0xFFFF);
    if (static_cast<int64_t>(end) == gSMTableLength)
        return true;
    out.clear();
    return false;
}

} // namespace

int64_t structuresOf(const std::vector<uint8_t>& types,
                     std::vector<Structure>& out)
{
    if (types.empty() && walkAll(out))
        return QVM_RC_SUCCESS;
    for (unsigned type = 0; type <= 255; ++type)
    {
        if (!types.empty() &&
            std::find(types.begin(), types.end(), type) == types.end())
            continue;
        uint8_t** structures = nullptr;
        uint16_t* sizes = nullptr;
        uint16_t count = 0;
        const int64_t rc = SmbiosGetStructureOfType(
            static_cast<uint8_t>(type), &structures, &sizes, &count);
        for (uint16_t i = 0; rc == QVM_RC_SUCCESS && i < count; ++i)
            out.push_back({structures[i], sizes[i]});
        std::free(structures);
        std::free(sizes);
        if (rc != QVM_RC_SUCCESS && rc != QVM_RC_NOT_FOUND)
            return rc;
    }
    std::sort(out.begin(), out.end(),
              [](const Structure& a, const Structure& b)
              { return a.at < b.at; });
    return QVM_RC_SUCCESS;
}

std::string typeName(uint8_t type)
{
    const char* text = nullptr;
    QueryTable(StructureTypeInfoTable, std::size(StructureTypeInfoTable), type,
               &text);
    if (text == nullptr)
        return type >= 128 ? "OEM-specific" : "Unknown";
    std::string name = text;
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

Converter::Result Converter::operator()(Structure structure) const
{
    // The library appends: each object starts a fresh file.
    unlink(scratch_.path().c_str());
    const int64_t rc = qvmSmbiosAddStructure(&structure.at, structure.size,
                                             scratch_.path().c_str());
    return {rc, rc == QVM_RC_SUCCESS ? scratch_.text() : std::string()};
}

std::string nameOf(Structure structure)
{
    char handle[8];
    std::snprintf(handle, sizeof handle, "0x%04X", structure.handle());
    return std::string("structure ") + handle + " (type " +
           std::to_string(structure.type()) + ", " +
           typeName(structure.type()) + ")";
}

void reportLeftOut(Structure structure, int64_t status)
{
    std::fprintf(stderr,
                 "qvm: %s is left out: the library cannot convert it: %s\n",
                 nameOf(structure).c_str(), statusText(status).c_str());
}

std::size_t reportLeftOut(const std::vector<Structure>& structures)
{
    const Converter convert;
    std::size_t count = 0;
    for (const Structure& s : structures)
        if (const int64_t rc = convert(s).status; rc != QVM_RC_SUCCESS)
        {
            reportLeftOut(s, rc);
            ++count;
        }
    return count;
}

} // namespace qvmcli
