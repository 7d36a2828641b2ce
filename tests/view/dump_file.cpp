#include "dump_file.hpp"

#include "smbios/entry_point.hpp"
#include "support/transcript.hpp"

#include <gtest/gtest.h>

namespace qvmtest
{

DumpFile splitDump(std::vector<std::uint8_t> bytes)
{
    DumpFile dump;
    dump.bytes = std::move(bytes);
    dump.entryPoint = qvm::smbios::readEntryPoint(dump.bytes);
    dump.tableSize = dump.bytes.size();
    if (!dump.entryPoint)
        return dump;
    const auto range =
        qvm::smbios::tableRange(*dump.entryPoint, dump.bytes.size());
    dump.tableOffset = range.offset;
    dump.tableSize = range.size;
    dump.version = {dump.entryPoint->major, dump.entryPoint->minor};
    return dump;
}

DumpFile readDump(const std::string& path)
{
    const std::string text = transcript::readText(path);
    DumpFile dump = splitDump({text.begin(), text.end()});
    EXPECT_TRUE(dump.entryPoint.has_value()) << path << ": no entry point";
    return dump;
}

} // namespace qvmtest
