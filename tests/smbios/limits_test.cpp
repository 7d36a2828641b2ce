// Where the table's u16 fields end: a structure's whole size and the
// number of structures of one type.
#include "qvmclient.h"
#include "smbios/json_export.hpp"
#include "support/loaded_table.hpp"

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

using qvmtest::StructureBuilder;
using qvmtest::TableBuilder;

namespace
{

// One structure whose formatted area and string set come to whole bytes,
// then the end of the table.
qvmtest::Bytes tableWithWholeSize(std::size_t whole)
{
    // Header, the string, its NUL and the set's final NUL.
    const std::string text(whole - 4 - 2, 'x');
    return TableBuilder()
        .add(StructureBuilder(200, 4, 1).string(text))
        .add(StructureBuilder(127, 4, 2))
        .build();
}

qvm::smbios::ExportReport exported(const qvmtest::Bytes& table)
{
    const int fd = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    qvm::FdWriter out(fd);
    auto report = qvm::smbios::exportJson(
        qvm::smbios::TableContext::fromBytes(table), out);
    ::close(fd);
    return report;
}

} // namespace

TEST(Limits, WholeSizeUpToAU16)
{
    const auto fits = tableWithWholeSize(0xFFFF);
    const auto entry = qvm::smbios::TableView(fits).begin();
    ASSERT_NE(entry, std::default_sentinel);
    EXPECT_EQ(entry->size, 0xFFFFU);
    EXPECT_EQ(exported(fits).written, 2U);

    const auto tooLarge = tableWithWholeSize(0x10000);
    EXPECT_FALSE(qvm::smbios::TableView(tooLarge).hasStructures());
    const auto report = exported(tooLarge);
    EXPECT_EQ(report.written, 0U);
    EXPECT_EQ(report.stoppedAt, 0U);
}

TEST(Limits, MoreThanAU16OfOneType)
{
    TableBuilder table;
    for (unsigned i = 0; i < 0x10001; ++i)
        table.add(StructureBuilder(200, 4, static_cast<std::uint16_t>(i)));
    table.add(StructureBuilder(127, 4, 0xFFFE));
    const auto bytes = table.build();

    const auto report = exported(bytes);
    EXPECT_EQ(report.written, 0xFFFFU + 1);
    EXPECT_THAT(report.clippedTypes, testing::ElementsAre(200));
    EXPECT_FALSE(report.stoppedAt);

    qvmtest::LoadedTable loaded(table);
    ASSERT_EQ(loaded.status(), QVM_RC_SUCCESS);
    uint16_t count = 0;
    EXPECT_EQ(SmbiosGetStructureOfType(200, nullptr, nullptr, &count),
              QVM_RC_SUCCESS);
    EXPECT_EQ(count, 0xFFFF);
}
