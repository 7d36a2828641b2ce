// The generation tables as the build writes them: each dump holds its
// table whole behind an entry point of its version, and the walk reads
// every structure of it, up to the last byte.
#include "dump_file.hpp"
#include "smbios/table_view.hpp"
#include "tablegen/generation_tables.hpp"

#include <gtest/gtest.h>

namespace
{

TEST(GenerationTables, WalkReadsEachTableWhole)
{
    for (const auto& generation : tablegen::generationTables())
    {
        SCOPED_TRACE(generation.name);
        const auto dump = qvmtest::readDump(std::string(QVM_GENERATED_DIR) +
                                            "/" + generation.name + ".dumpbin");
        const auto bytes = generation.table.build();
        ASSERT_TRUE(std::ranges::equal(dump.table(), bytes));
        EXPECT_EQ(dump.version.major, generation.major);
        EXPECT_EQ(dump.version.minor, generation.minor);

        std::size_t structures = 0;
        std::size_t end = 0;
        std::uint8_t lastType = 0;
        for (const auto& entry : qvm::smbios::TableView(dump.table()))
        {
            EXPECT_EQ(entry.offset, end);
            end = entry.offset + entry.size;
            lastType = entry.view.type();
            ++structures;
        }
        EXPECT_EQ(structures, generation.table.count());
        EXPECT_EQ(end, bytes.size());
        EXPECT_EQ(lastType, 127);
    }
}

} // namespace
