// Runs the command lines of transcript.txt and compares all that qvm gives
// for each with what the transcript holds.
//
// A case is "$ ARGS" (words between single blanks), then "> " lines of
// standard output, "! " lines of standard error and "? STATUS". @SAMPLE is
// the sample table, @BUS the stand-in's bus, @DIR a folder of table files
// made below; a word "" is an empty argument.
#include "run_tool.hpp"
#include "support/loaded_table.hpp"
#include "support/standin_bus.hpp"
#include "tablegen/sample_table.hpp"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace
{

namespace fs = std::filesystem;
using qvmtest::tool::Result;

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_FIXTURE);

void save(const fs::path& path, const tablegen::Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The tables that the transcript names under @DIR.
struct Tables
{
    Tables()
        : dir(fs::path(testing::TempDir()) /
              ("qvm-transcript-" + std::to_string(getpid())))
    {
        fs::create_directories(dir);
        const tablegen::Bytes sample = tablegen::sampleTable().build();
        save(dir / "empty.bin", {});
        mkfifo((dir / "fifo").c_str(), 0600);
        const auto behind = qvmtest::tool::behind32BitEntryPoint(
            sample, 0x20, sample.size() + 100);
        save(dir / "ep-only.bin", {behind.begin(), behind.begin() + 0x20});
        save(dir / "short.bin", behind);
        const auto bios =
            qvmtest::StructureBuilder(0, 0x18, 0).string(5, "1.0");
        const qvmtest::TempFile noSystem(
            qvmtest::TableBuilder().add(bios).build());
        // A length byte below the header's own size stops the walk there.
        tablegen::Bytes damaged =
            qvmtest::TableBuilder()
                .add(bios)
                .add(qvmtest::StructureBuilder(1, 0x08, 0x0100))
                .build();
        damaged.insert(damaged.end(), {0x02, 0x02, 0xAA, 0xBB, 0, 0});
        save(dir / "damaged.bin", damaged);
        // A BIOS structure too short for its release bytes, and an event
        // log with one descriptor and an access method other than memory,
        // which the library cannot convert.
        const qvmtest::TempFile leftOut(
            qvmtest::TableBuilder()
                .add(qvmtest::StructureBuilder(0, 0x12, 0)
                         .string(4, "Vendor")
                         .string(5, "1.0"))
                .add(qvmtest::StructureBuilder(15, 25, 0x0F00)
                         .u8(10, 4)
                         .u8(21, 1))
                .add(qvmtest::StructureBuilder(127, 4, 0x7F00))
                .build());
        fs::copy_file(leftOut.path(), dir / "left-out.bin");
        // Two more structures of one type than the library hands out.
        tablegen::Bytes many;
        for (unsigned i = 0; i < 0x10001; ++i)
            many.insert(many.end(), {200, 4, static_cast<uint8_t>(i),
                                     static_cast<uint8_t>(i >> 8), 0, 0});
        save(dir / "many.bin", many);
        fs::copy_file(noSystem.path(), dir / "no-system.bin");
    }
    ~Tables() { fs::remove_all(dir); }
    fs::path dir;
};

std::string substitute(std::string line, const Tables& tables)
{
    const std::pair<std::string, std::string> names[] = {
        {"@SAMPLE", qvmtest::tool::kSample},
        {"@BUS", bus->address()},
        {"@DIR", tables.dir.string()},
    };
    for (const auto& [name, value] : names)
        for (auto at = line.find(name); at != std::string::npos;
             at = line.find(name, at + value.size()))
            line.replace(at, name.size(), value);
    return line;
}

struct Entry
{
    std::string line;
    Result expected{0, "", ""};
};

std::vector<Entry> readTranscript(const Tables& tables)
{
    std::ifstream in(QVM_TRANSCRIPT);
    std::vector<Entry> entries;
    for (std::string line; std::getline(in, line);)
    {
        const std::string rest =
            substitute(line.size() > 2 ? line.substr(2) : "", tables);
        if (line.starts_with("$ "))
            entries.push_back({rest});
        else if (line.starts_with(">") && !entries.empty())
            entries.back().expected.out += rest + "\n";
        else if (line.starts_with("!") && !entries.empty())
            entries.back().expected.err += rest + "\n";
        else if (line.starts_with("? ") && !entries.empty())
            entries.back().expected.status = std::stoi(rest);
    }
    return entries;
}

using Transcript = qvmtest::StandinTest;

} // namespace

TEST_F(Transcript, EveryCommandLineGivesWhatItSays)
{
    const Tables tables;
    const auto entries = readTranscript(tables);
    ASSERT_FALSE(entries.empty());
    for (const Entry& e : entries)
    {
        auto args = qvmtest::tool::words(e.line);
        for (std::string& word : args)
            if (word == "\"\"")
                word.clear();
        EXPECT_EQ(qvmtest::tool::runQvm(args), e.expected) << "$ " << e.line;
    }
}
