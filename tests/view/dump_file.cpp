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

DumpFile readDump(const std::string& path)
{
    DumpFile dump;
    const std::string text = readText(path);
    dump.bytes.assign(text.begin(), text.end());
    const auto ep = qvm::smbios::readEntryPoint(dump.bytes);
    EXPECT_TRUE(ep.has_value()) << path << ": no entry point";
    if (!ep)
        return dump;
    const auto range = qvm::smbios::tableRange(*ep, dump.bytes.size());
    dump.tableOffset = range.offset;
    dump.tableSize = range.size;
    dump.version = {ep->major, ep->minor};
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
