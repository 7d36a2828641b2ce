// Transcripts: files of call lines, each followed by what the call gave,
// indented two blanks. A runner replays the calls and compares what they
// give now with the file, or prints the file with the results filled in.
// Lines starting with '#' and blank lines are kept as they are.
#pragma once

#include <algorithm>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

namespace qvmtest::transcript
{

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

// Reports the first differing lines of the file at path; false if any.
inline bool matches(const std::vector<std::string>& now,
                    const std::string& path, std::ostream& report)
{
    std::ifstream in(path);
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);)
        expected.push_back(line);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < std::max(now.size(), expected.size()); ++i)
    {
        const std::string want = i < expected.size() ? expected[i] : "<end>";
        const std::string got = i < now.size() ? now[i] : "<end>";
        if (want != got && ++differing <= 20)
            report << path << ":" << i + 1 << ": expected " << want
                   << "\n    got " << got << "\n";
    }
    if (differing > 0)
        report << differing << " lines differ\n";
    return differing == 0;
}

// Replays the file at path and compares, or writes the file with the
// results filled in to writeTo ("-" for standard output) when it is set.
// The exit status of a runner.
inline int run(const std::string& path, const char* writeTo, const Replay& call)
{
    std::ifstream in(path);
    if (!in)
    {
        std::cerr << "cannot read " << path << "\n";
        return 2;
    }
    const std::vector<std::string> now = replay(in, call);
    if (writeTo == nullptr)
        return matches(now, path, std::cout) ? 0 : 1;
    std::ofstream file;
    if (std::string(writeTo) != "-")
        file.open(writeTo);
    std::ostream& out = file.is_open() ? file : std::cout;
    for (const std::string& line : now)
        out << line << "\n";
    return out ? 0 : 2;
}

} // namespace qvmtest::transcript
