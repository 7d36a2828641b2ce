// Keyword answers against transcripts of the reference decoder run on the
// same dumps (recorded once by tests/data/record-dmidecode.sh): every string
// keyword, every OEM string and the structures each type keyword selects.
#include "dump_file.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/keywords.hpp"
#include "support/golden.hpp"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

namespace
{

using qvm::smbios::Answer;

const std::string kData = QVM_TEST_DATA_DIR;

// Real tables are test data; the generation tables are built, only their
// transcripts are test data.
std::string dumpPath(const std::string& name)
{
    if (name.starts_with("generations/"))
        return std::string(QVM_GENERATED_DIR) + name.substr(name.find('/')) +
               ".dumpbin";
    return kData + "/" + name + ".dumpbin";
}

std::vector<std::string> handleLines(const qvmtest::DumpFile& dump,
                                     std::span<const std::uint8_t> types)
{
    std::vector<std::string> lines;
    for (const auto& entry : qvm::smbios::TableView(dump.table()))
    {
        const auto& view = entry.view;
        if (view.type() == 127)
            break;
        if (std::find(types.begin(), types.end(), view.type()) == types.end())
            continue;
        char line[64];
        std::snprintf(line, sizeof line, "Handle 0x%04X, DMI type %u, %u bytes",
                      view.handle(), view.type(), view.length());
        lines.emplace_back(line);
    }
    return lines;
}

// What we print for one recorded command line.
std::vector<std::string> ours(const qvmtest::DumpFile& dump,
                              const std::string& command)
{
    const std::string oem = "dmidecode --oem-string ";
    const std::string string = "dmidecode -s ";
    const std::string type = "dmidecode -t ";
    if (command.starts_with(oem))
    {
        const std::string n = command.substr(oem.size());
        const auto number = n == "count" ? 0 : std::stoi(n);
        return qvm::smbios::answerOemString(dump.table(),
                                            static_cast<std::uint8_t>(number))
            .out;
    }
    if (command.starts_with(string))
    {
        const auto* keyword =
            qvm::smbios::findKeyword(command.substr(string.size()));
        if (keyword == nullptr)
            return {"no such keyword"};
        return qvm::smbios::answer(dump.table(), dump.version, *keyword).out;
    }
    if (command.starts_with(type))
    {
        const auto types =
            qvm::smbios::typesOfKeyword(command.substr(type.size()));
        if (types.empty())
            return {"no such type keyword"};
        return handleLines(dump, types);
    }
    return {"unknown command"};
}

class KeywordTranscript : public testing::TestWithParam<const char*>
{
};

TEST_P(KeywordTranscript, AnswersAsRecorded)
{
    const auto dump = qvmtest::readDump(dumpPath(GetParam()));
    std::size_t keywordsAsked = 0;
    qvmtest::expectTranscript(kData + "/" + GetParam() + ".keywords",
                              [&](const std::string& command)
                              {
                                  keywordsAsked +=
                                      command.starts_with("dmidecode -s ");
                                  return ours(dump, command);
                              });
    // Every keyword was recorded, so none can be left unchecked.
    EXPECT_EQ(keywordsAsked, qvm::smbios::stringKeywords().size());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, KeywordTranscript,
    testing::Values("real-tables/lenovo-thinkpad-t430",
                    "real-tables/lenovo-thinkpad-t490",
                    "real-tables/lenovo-thinkpad-w510",
                    "generations/smbios-2.3", "generations/smbios-2.7",
                    "generations/smbios-3.0", "generations/smbios-3.4",
                    "generations/codes-2.0", "generations/codes-2.7"),
    [](const auto& info)
    {
        std::string name = info.param;
        name = name.substr(name.rfind('/') + 1);
        std::replace(name.begin(), name.end(), '-', '_');
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

} // namespace
