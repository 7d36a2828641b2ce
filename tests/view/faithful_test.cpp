// The faithful view against golden documents of the real tables and the
// generation tables the build writes (reference_values.py holds the
// goldens to what the reference decoder printed for the same tables).
#include "dump_file.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/faithful_view.hpp"
#include "support/golden.hpp"
#include "tablegen/generation_tables.hpp"

#include <gtest/gtest.h>
#include <json-c/json.h>

namespace
{

using qvm::smbios::TableView;

const std::string kData = QVM_TEST_DATA_DIR;

struct RecordedTable
{
    std::string name;
    qvmtest::DumpFile dump;
};

std::vector<RecordedTable> recordedTables()
{
    std::vector<RecordedTable> tables;
    for (const char* name : {"lenovo-thinkpad-t430", "lenovo-thinkpad-t490",
                             "lenovo-thinkpad-w510"})
    {
        const std::string base = kData + "/real-tables/" + name;
        tables.push_back({name, qvmtest::readDump(base + ".dumpbin")});
    }
    for (const auto& generation : tablegen::generationTables())
    {
        if (!generation.name.starts_with("smbios-"))
            continue;
        tables.push_back(
            {generation.name,
             qvmtest::readDump(std::string(QVM_GENERATED_DIR) + "/" +
                               generation.name + ".dumpbin")});
    }
    return tables;
}

// Parsed with json-c's strict mode and its UTF-8 check.
bool isStrictJson(const std::string& text)
{
    json_tokener* tok = json_tokener_new();
    json_tokener_set_flags(tok,
                           JSON_TOKENER_STRICT | JSON_TOKENER_VALIDATE_UTF8);
    json_object* doc =
        json_tokener_parse_ex(tok, text.c_str(), static_cast<int>(text.size()));
    const bool ok =
        doc != nullptr && json_tokener_get_error(tok) == json_tokener_success;
    json_object_put(doc);
    json_tokener_free(tok);
    return ok;
}

TEST(FaithfulView, EveryTableAsGolden)
{
    for (const auto& [name, dump] : recordedTables())
    {
        const std::string text = qvm::smbios::faithfulJson(
            TableView(dump.table()), {dump.version, std::nullopt,
                                      qvm::smbios::VersionSource::EntryPoint});
        EXPECT_TRUE(isStrictJson(text)) << name;
        qvmtest::expectGolden(kData + "/faithful/" + name + ".json", text);
    }
}

// Without an entry point a table is read as the caller says, else as the
// newest version the lengths of its structures allow.
TEST(FaithfulView, VersionWithoutEntryPoint)
{
    std::string lines;
    for (const auto& [name, dump] : recordedTables())
    {
        const TableView table(dump.table());
        const auto given = qvm::smbios::chooseVersion(
            std::nullopt, qvm::decode::SmbiosVersion{2, 1}, table);
        EXPECT_EQ(given.text(), "2.1");
        EXPECT_EQ(given.source, qvm::smbios::VersionSource::Caller);
        lines += name + " " +
                 qvm::smbios::chooseVersion(std::nullopt, std::nullopt, table)
                     .text() +
                 "\n";
    }
    qvmtest::expectGolden(kData + "/faithful/inferred-versions.txt", lines);
}

// A field read from past the formatted area would change when the string
// set behind it changes; every other field must not. Every string byte is
// replaced, so a value that holds no string keeps its text only if it was
// read from the formatted area.
TEST(FaithfulView, NoFieldReadPastTheFormattedArea)
{
    for (const auto& [name, dump] : recordedTables())
    {
        const auto bytes = dump.table();
        std::vector<std::uint8_t> poisoned(bytes.begin(), bytes.end());
        for (const auto& entry : TableView(bytes))
            for (std::size_t i = entry.offset + entry.view.length();
                 i < entry.offset + entry.size; ++i)
                if (poisoned[i] != 0)
                    poisoned[i] = '~';
        const auto original =
            qvm::smbios::faithfulStructures(TableView(bytes), dump.version);
        const auto changed =
            qvm::smbios::faithfulStructures(TableView(poisoned), dump.version);
        ASSERT_EQ(original.size(), changed.size());
        for (std::size_t s = 0; s < original.size(); ++s)
            for (const auto& field : original[s].fields)
            {
                const std::string json = field.json();
                if (json.find('"') != std::string::npos)
                    continue;
                const auto* other = changed[s].find(field.key);
                ASSERT_NE(other, nullptr) << name << " " << field.key;
                EXPECT_EQ(other->json(), json)
                    << name << " handle " << original[s].handle << " "
                    << field.key;
            }
    }
}

} // namespace
