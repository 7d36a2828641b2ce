#include "dump_file.hpp"

#include "smbios/entry_point.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>

namespace qvmtest
{

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    EXPECT_TRUE(out.good()) << path;
}

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
    const std::string text = readText(path);
    DumpFile dump = splitDump({text.begin(), text.end()});
    EXPECT_TRUE(dump.entryPoint.has_value()) << path << ": no entry point";
    return dump;
}

Transcript readTranscript(const std::string& path)
{
    Transcript transcript;
    std::istringstream in(readText(path));
    for (std::string line; std::getline(in, line);)
    {
        if (line.starts_with("$ "))
            transcript.emplace_back(line.substr(2), std::vector<std::string>{});
        else if (!transcript.empty())
            transcript.back().second.push_back(line);
        else
            ADD_FAILURE() << path << ": output before the first command";
    }
    return transcript;
}

} // namespace qvmtest
