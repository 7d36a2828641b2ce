// The export writes each structure's JSON straight from its fields; the C
// interface's field strings give the same text the long way. Every
// structure of the sample table and of the SMBIOS fuzz corpus goes both ways
// under a few version pairs, and the bytes and statuses must agree.
#include "capi/tagged_structure.hpp"
#include "smbios/structure_json.hpp"
#include "smbios/table_context.hpp"
#include "tablegen/sample_table.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<std::uint8_t>;

// The table's own pair first, then pairs below and above every gate.
std::vector<qvm::decode::SmbiosVersion> versionsFor(const Bytes& table)
{
    return {qvm::smbios::TableContext::fromBytes(table).decode.gateVersion,
            {0, 0},
            {2, 6},
            {3, 9}};
}

void expectSameBothWays(const Bytes& table, const std::string& name)
{
    const qvm::smbios::TableView view(table);
    for (const auto version : versionsFor(table))
    {
        const qvm::decode::DecodeContext context{version};
        for (const auto& entry : view)
        {
            const auto direct =
                qvm::smbios::structureJson(entry.view, entry.size, context);
            const auto tagged =
                qvm::capi::taggedStructureJson(entry.view, entry.size, context);
            EXPECT_EQ(direct.status, tagged.status)
                << name << " at " << entry.offset;
            EXPECT_EQ(direct.text, tagged.text)
                << name << " at " << entry.offset;
        }
    }
}

} // namespace

TEST(DirectJson, SameBytesAsTheFieldStringsOnTheSampleAndTheFuzzCorpus)
{
    expectSameBothWays(tablegen::sampleTable().build(), "sample");
    const std::filesystem::path corpus =
        std::filesystem::path(QVM_TEST_SOURCE_DIR) / "../../fuzz/corpus/smbios";
    std::size_t files = 0;
    for (const auto& file : std::filesystem::directory_iterator(corpus))
    {
        std::ifstream in(file.path(), std::ios::binary);
        expectSameBothWays(Bytes(std::istreambuf_iterator<char>(in), {}),
                           file.path().filename().string());
        ++files;
    }
    EXPECT_GT(files, 0U);
}
