// Transcripts: files of call lines, each followed by what the call gave,
// indented two blanks. A runner replays the calls and compares what they
// give now with the file, or rewrites the file with the results filled in
// (QVM_UPDATE_GOLDEN=1). Lines starting with '#' and blank lines are kept
// as they are. Goldens, whole texts compared byte for byte, go the same way.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <istream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace qvmtest::transcript
{

// The arguments of a call line, blank-separated: words (numbers among
// them), quoted texts with the escapes of quoted() ("x"*9 for nine x;
// quoted pieces that touch make one text), or null for a null text.
class Args
{
  public:
    explicit Args(std::istream& in)
    {
        for (char c; in >> std::ws, in.get(c);)
        {
            if (c != '"')
            {
                in.unget();
                std::string word;
                in >> word;
                words_.push_back(word == "null" ? std::nullopt
                                                : std::optional(word));
                continue;
            }
            std::string whole;
            for (in.unget(); in.peek() == '"';)
                whole += quotedPiece(in.ignore());
            words_.emplace_back(whole);
        }
    }

    const char* text(std::size_t i) const
    {
        return words_.at(i) ? words_.at(i)->c_str() : nullptr;
    }
    int64_t number(std::size_t i) const
    {
        return std::stoll(*words_.at(i), nullptr, 0);
    }
    uint64_t unsignedNumber(std::size_t i) const
    {
        return std::stoull(*words_.at(i), nullptr, 0);
    }
    std::size_t size() const { return words_.size(); }

    // Copies text i into a fixed field: cut to fit, terminated only when
    // there is room.
    template <std::size_t N> void fill(char (&field)[N], std::size_t i) const
    {
        const std::string& value = *words_.at(i);
        std::memset(field, 0, N);
        std::memcpy(field, value.data(), std::min(N, value.size()));
    }

  private:
    // One quoted piece and its repeat count; pieces that touch make one
    // argument ("s:"  "k"*128  ":1" without the blanks).
    static std::string quotedPiece(std::istream& in)
    {
        std::string text;
        for (char d; in.get(d) && d != '"';)
            text += d != '\\' ? d : escaped(in);
        std::size_t times = 1;
        if (in.peek() == '*')
            in.ignore() >> times;
        std::string repeated;
        for (std::size_t i = 0; i < times; ++i)
            repeated += text;
        return repeated;
    }

    static char escaped(std::istream& in)
    {
        const char c = static_cast<char>(in.get());
        if (c == 'n')
            return '\n';
        if (c != 'x')
            return c;
        char hex[3] = {};
        in.read(hex, 2);
        return static_cast<char>(std::stoi(hex, nullptr, 16));
    }

    std::vector<std::optional<std::string>> words_;
};

// What one call line gives, as result lines without their indentation.
using Replay = std::function<std::vector<std::string>(const std::string&)>;

// text between double quotes, with quotes and backslashes escaped and
// other bytes outside printable ASCII as \n or \xNN, so that trailing
// blanks stay visible and the file stays plain text.
inline std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20 ||
                 static_cast<unsigned char>(c) >= 0x7F)
        {
            static const char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        }
        else
            out += c;
    }
    return out + '"';
}

// The file's lines with each call's results replaced by what it gives now.
inline std::vector<std::string> replay(std::istream& in, const Replay& call)
{
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);)
    {
        if (line.rfind("  ", 0) == 0)
            continue; // a result of the call above: given again below
        out.push_back(line);
        if (line.empty() || line[0] == '#')
            continue;
        for (const std::string& result : call(line))
            out.push_back("  " + result);
    }
    return out;
}

// Whether expectation files (transcripts, goldens) are rewritten with what
// the code gives now, for review with git diff, instead of compared.
inline bool updating()
{
    return std::getenv("QVM_UPDATE_GOLDEN") != nullptr;
}

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// text with every from in it replaced by to.
inline std::string replaced(std::string text, const std::string& from,
                            const std::string& to)
{
    for (auto at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

inline std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// A call line followed by each line of results, as a transcript holds it.
inline std::string entry(const std::string& call, const std::string& results)
{
    std::string out = call + "\n";
    for (const std::string& line : splitLines(results))
        out += "  " + line + "\n";
    return out;
}

// Compares text with the file at path, reporting the first differing
// lines, or rewrites the file when updating(); false on a difference or a
// failed write.
inline bool golden(const std::string& text, const std::string& path,
                   std::ostream& report)
{
    if (updating())
        return static_cast<bool>(
            std::ofstream(path, std::ios::binary | std::ios::trunc) << text);
    const std::string expected = readText(path);
    if (text == expected)
        return true;
    const auto want = splitLines(expected);
    const auto got = splitLines(text);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i)
    {
        const std::string w = i < want.size() ? want[i] : "<end>";
        const std::string g = i < got.size() ? got[i] : "<end>";
        if (w != g && ++differing <= 20)
            report << path << ":" << i + 1 << ": expected " << w << "\n    got "
                   << g << "\n";
    }
    report << differing << " lines differ\n";
    return false;
}

inline bool golden(const std::vector<std::string>& lines,
                   const std::string& path, std::ostream& report)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return golden(text, path, report);
}

// Replays the transcript at path and compares it, or rewrites it when
// updating(). The exit status of a runner.
inline int check(const std::string& path, const Replay& call)
{
    std::ifstream in(path);
    if (!in)
    {
        std::cerr << "cannot read " << path << "\n";
        return 2;
    }
    return golden(replay(in, call), path, std::cout) ? 0 : 1;
}

} // namespace qvmtest::transcript
