// Replays the qvm command lines of qvm.transcript against the sample
// table, the tables made below and the stand-in. Besides qvm lines it
// takes "reset" (the stand-in forgets scripts and calls), "script KEY
// JSON" (its reply for KEY, placeholders replaced), "calls KEY" (what KEY
// received, "= " a call), "cmp FILE FILE" ("same" or "differ") and "table
// NAME WORDS" (the table of support/structure_words.hpp as @DIR/NAME); a
// qvm line ending in ">/dev/full" writes its output there.
#include "run_tool.hpp"
#include "support/golden.hpp"
#include "support/loaded_table.hpp"
#include "support/standin_bus.hpp"
#include "support/structure_words.hpp"
#include "tablegen/entry_point_bytes.hpp"
#include "tablegen/sample_table.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace
{

namespace fs = std::filesystem;
using qvmtest::tool::Result;
namespace control = qvmtest::standin;
using qvmtest::transcript::replaced;

const auto* bus = qvmtest::useStandinBus(QVM_INVENTORY_FIXTURE);

void save(const fs::path& path, const tablegen::Bytes& bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// table behind a 32-bit entry point that names address as the table's and
// announces announced bytes; a dump pads the entry point to 0x20 bytes.
tablegen::Bytes behindEntryPoint(const tablegen::Bytes& table,
                                 std::uint32_t address, std::size_t announced)
{
    tablegen::Bytes bytes = tablegen::entryPointBytes(
        false, 2, 8, static_cast<std::uint32_t>(announced), 0);
    for (int i = 0; i < 4; ++i)
        bytes[0x18 + i] = static_cast<std::uint8_t>(address >> (8 * i));
    if (address == 0x20)
        bytes.push_back(0);
    bytes.insert(bytes.end(), table.begin(), table.end());
    return bytes;
}

// The tables that the transcript names under @DIR.
struct Tables
{
    Tables()
    {
        const tablegen::Bytes sample = tablegen::sampleTable().build();
        save(dir / "empty.bin", {});
        mkfifo((dir / "fifo").c_str(), 0600);
        const auto behind = behindEntryPoint(sample, 0x20, sample.size() + 100);
        save(dir / "ep-only.bin", {behind.begin(), behind.begin() + 0x20});
        save(dir / "short.bin", behind);
        // The table address is physical, as the kernel's entry point and
        // DMI files give it one after the other.
        save(dir / "saved.bin",
             behindEntryPoint(sample, 0x000F0000, sample.size()));
        // Two more structures of one type than the library hands out.
        tablegen::Bytes many;
        for (unsigned i = 0; i < 0x10001; ++i)
            many.insert(many.end(), {200, 4, static_cast<uint8_t>(i),
                                     static_cast<uint8_t>(i >> 8), 0, 0});
        save(dir / "many.bin", many);
        // Bytes that are no table at all, the same on every run.
        tablegen::Bytes noise(4096);
        std::uint32_t state = 0x2545F491;
        for (auto& byte : noise)
        {
            state = state * 1664525 + 1013904223;
            byte = static_cast<std::uint8_t>(state >> 24);
        }
        save(dir / "random.bin", noise);
    }
    const qvmtest::tool::ScratchFolder folder{"qvm-transcript"};
    const fs::path& dir = folder.path;
};

// The placeholders of the transcript and what they stand for here.
std::vector<std::pair<std::string, std::string>> places(const Tables& tables)
{
    return {{"@BUS", bus->address()},
            {"@SAMPLE", qvmtest::tool::kSample},
            {"@DIR", tables.dir.string()}};
}

// Each line of text as a result line, the places named again.
void addLines(std::vector<std::string>& out, const std::string& mark,
              std::string text, const Tables& tables)
{
    for (const auto& [name, value] : places(tables))
        text = replaced(text, value, name);
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line.empty() ? mark : mark + " " + line);
}

// Runs a qvm line; ">/dev/full" at its end sends standard output there.
Result runLine(std::vector<std::string> words)
{
    if (words.empty() || words.back() != ">/dev/full")
        return qvmtest::tool::runQvm(words);
    words.back() = qvmtest::tool::kProgram;
    words.insert(words.begin(), {"-c", "exec \"$0\" \"$@\" >/dev/full"});
    std::rotate(words.begin() + 2, words.end() - 1, words.end());
    return qvmtest::tool::run("/bin/sh", words);
}

std::vector<std::string> replayLine(const std::string& line,
                                    const Tables& tables)
{
    std::istringstream in(line);
    std::string command, key;
    in >> command >> key;
    std::vector<std::string> out;
    if (command == "reset")
        control::reset();
    else if (command == "script")
    {
        std::string reply = line.substr(command.size() + key.size() + 2);
        for (const auto& [name, value] : places(tables))
            reply = replaced(reply, name, value);
        control::script(key, reply);
    }
    else if (command == "calls")
        for (const std::string& call : control::calls(key))
            out.push_back("= " + call);
    std::istringstream whole(line);
    const qvmtest::transcript::Args args(whole);
    if (command == "table")
        save(tables.dir / key, qvmtest::tableFromWords(args, 2).build());
    if (command != "qvm" && command != "cmp")
        return out;
    std::vector<std::string> words;
    for (std::size_t i = 1; i < args.size(); ++i)
    {
        std::string word = args.text(i);
        for (const auto& [name, value] : places(tables))
            word = replaced(word, name, value);
        words.push_back(word);
    }
    if (command == "cmp")
        return {qvmtest::transcript::readText(words.at(0)) ==
                        qvmtest::transcript::readText(words.at(1))
                    ? "same"
                    : "differ"};
    const Result r = runLine(words);
    addLines(out, ">", r.out, tables);
    addLines(out, "!", r.err, tables);
    if (r.status != 0)
        out.push_back("? " + std::to_string(r.status));
    return out;
}

using Transcript = qvmtest::StandinTest;

} // namespace

TEST_F(Transcript, EveryCommandLineGivesWhatItSays)
{
    const Tables tables;
    qvmtest::expectTranscript(QVM_TRANSCRIPT, [&](const std::string& line)
                              { return replayLine(line, tables); });
}
