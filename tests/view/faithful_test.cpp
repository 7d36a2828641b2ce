// The faithful view against golden documents (QVM_UPDATE_GOLDEN=1 rewrites
// them from this build, for review) and against what the reference
// decoder printed for the same real tables.
#include "dump_file.hpp"
#include "generation_tables.hpp"
#include "smbios/table_view.hpp"
#include "smbios/view/faithful_view.hpp"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <json-c/json.h>
#include <sstream>

namespace
{

using qvm::smbios::FaithfulStructure;
using qvm::smbios::TableView;

const std::string kData = QVM_TEST_DATA_DIR;
const std::string kReal = kData + "/real-tables/";
const char* const kRealTables[] = {
    "lenovo-thinkpad-t430", "lenovo-thinkpad-t490", "lenovo-thinkpad-w510"};

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

void expectGolden(const std::string& name, const std::string& text)
{
    EXPECT_TRUE(isStrictJson(text)) << name;
    const std::string path = kData + "/faithful/" + name + ".json";
    if (std::getenv("QVM_UPDATE_GOLDEN") != nullptr)
        qvmtest::writeText(path, text);
    EXPECT_EQ(text, qvmtest::readText(path)) << path;
}

qvm::smbios::TableVersion entryPointVersion(const qvmtest::DumpFile& dump)
{
    return {dump.version, std::nullopt, qvm::smbios::VersionSource::EntryPoint};
}

TEST(FaithfulView, RealTablesAsGolden)
{
    for (const char* name : kRealTables)
    {
        const auto dump = qvmtest::readDump(kReal + name + ".dumpbin");
        expectGolden(name, qvm::smbios::faithfulJson(TableView(dump.table()),
                                                     entryPointVersion(dump)));
    }
}

TEST(FaithfulView, GenerationTablesAsGolden)
{
    for (const auto& table : qvmtest::generationTables())
        expectGolden(table.name,
                     qvm::smbios::faithfulJson(
                         TableView(table.bytes),
                         qvm::smbios::chooseVersion(std::nullopt, table.version,
                                                    TableView(table.bytes))));
}

// The version a table is read as when no entry point says: the caller's,
// else the newest that the lengths of its structures allow.
TEST(FaithfulView, VersionWithoutEntryPoint)
{
    for (const auto& table : qvmtest::generationTables())
    {
        const TableView view(table.bytes);
        const auto inferred =
            qvm::smbios::chooseVersion(std::nullopt, std::nullopt, view);
        EXPECT_EQ(inferred.text(), table.lengthsAllow) << table.name;
        const auto given = qvm::smbios::chooseVersion(
            std::nullopt, qvm::decode::SmbiosVersion{2, 1}, view);
        EXPECT_EQ(given.text(), "2.1");
        EXPECT_EQ(given.source, qvm::smbios::VersionSource::Caller);
    }
}

// The real tables and the generation tables, with the version each is
// read as.
struct NamedTable
{
    std::string name;
    std::vector<std::uint8_t> bytes;
    qvm::decode::SmbiosVersion version;
};

std::vector<NamedTable> everyTable()
{
    std::vector<NamedTable> tables;
    for (const char* name : kRealTables)
    {
        const auto dump = qvmtest::readDump(kReal + name + ".dumpbin");
        tables.push_back(
            {name, {dump.table().begin(), dump.table().end()}, dump.version});
    }
    for (auto& table : qvmtest::generationTables())
        tables.push_back({table.name, std::move(table.bytes), table.version});
    return tables;
}

// A field read from past the formatted area would change when the string
// set behind it changes; every other field must not. Every string byte is
// replaced, so a value that holds no string keeps its text only if it was
// read from the formatted area.
TEST(FaithfulView, NoFieldReadPastTheFormattedArea)
{
    for (const auto& [name, bytes, version] : everyTable())
    {
        std::vector<std::uint8_t> poisoned = bytes;
        for (const auto& entry : TableView(bytes))
            for (std::size_t i = entry.offset + entry.view.length();
                 i < entry.offset + entry.size; ++i)
                if (poisoned[i] != 0)
                    poisoned[i] = '~';
        const auto original =
            qvm::smbios::faithfulStructures(TableView(bytes), version);
        const auto changed =
            qvm::smbios::faithfulStructures(TableView(poisoned), version);
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

// What the reference decoder lists under one heading of a structure: the
// lines indented one level deeper that follow it.
struct Listed
{
    std::uint16_t handle;
    std::string key;
    std::vector<std::string> values;
};

// The recorded text's OEM strings, configuration options, on-board device
// descriptions and group item handles, each under the field that must hold
// them.
std::vector<Listed> listedValues(const std::string& text)
{
    std::vector<Listed> out;
    std::istringstream in(text);
    std::uint16_t handle = 0;
    std::string heading;
    for (std::string line; std::getline(in, line);)
    {
        if (line.starts_with("Handle 0x"))
        {
            handle = static_cast<std::uint16_t>(
                std::stoul(line.substr(9, 4), nullptr, 16));
            std::getline(in, heading);
            continue;
        }
        const auto colon = line.find(": ");
        const auto rest =
            colon == std::string::npos ? std::string() : line.substr(colon + 2);
        const auto add = [&](const std::string& key, const std::string& value)
        {
            if (out.empty() || out.back().handle != handle ||
                out.back().key != key)
                out.push_back({handle, key, {}});
            out.back().values.push_back(value);
        };
        if (heading == "OEM Strings" && line.starts_with("\tString "))
            add("OEM String", rest);
        else if (heading == "System Configuration Options" &&
                 line.starts_with("\tOption "))
            add("System Configuration option", rest);
        else if (heading.starts_with("On Board Device") &&
                 line.starts_with("\tDescription: "))
            add("Description String", rest);
        else if (heading == "Group Associations" && line.starts_with("\t\t0x"))
            add("ItemHandle",
                std::to_string(std::stoul(line.substr(4, 4), nullptr, 16)));
    }
    return out;
}

TEST(FaithfulView, HoldsEveryListedValueTheReferencePrints)
{
    for (const char* name : kRealTables)
    {
        const auto dump = qvmtest::readDump(kReal + name + ".dumpbin");
        const auto structures = qvm::smbios::faithfulStructures(
            TableView(dump.table()), dump.version);
        for (const Listed& listed :
             listedValues(qvmtest::readText(kReal + name + ".txt")))
        {
            const auto s = std::find_if(structures.begin(), structures.end(),
                                        [&](const FaithfulStructure& f)
                                        { return f.handle == listed.handle; });
            ASSERT_NE(s, structures.end()) << name << " " << listed.handle;
            const auto* field = s->find(listed.key);
            ASSERT_NE(field, nullptr) << name << " " << listed.key;
            std::vector<std::string> expected;
            for (const auto& value : listed.values)
                expected.push_back(listed.key == "ItemHandle"
                                       ? value
                                       : qvm::smbios::jsonString(value));
            EXPECT_EQ(field->values, expected) << name << " " << listed.key;
        }
    }
}

} // namespace
