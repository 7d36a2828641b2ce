// Feeds the field-string builder arbitrary lists of strings: the input is
// split at newlines, one string per line; a first line starting with "#"
// names the wrapper ("#Structure"). Besides memory errors, it checks that a
// rejected list leaves out alone, that accepted output is one object in
// strict JSON whatever bytes the strings hold, and that QVM_FormatData
// answers as the builder does.
#include "fuzz_support.hpp"
#include "qvmclient.h"
#include "strict_json.hpp"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using qvmfuzz::require;

std::vector<std::string> splitLines(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines(1);
    for (std::size_t i = 0; i < size; ++i)
    {
        if (data[i] == '\n')
            lines.emplace_back();
        else
            lines.back().push_back(static_cast<char>(data[i]));
    }
    return lines;
}

struct Built
{
    int32_t rc;
    std::string text;
};

template <typename Builder> Built run(Builder build)
{
    char marker = 0;
    char* out = &marker;
    const int32_t rc = build(&out);
    if (rc != 0)
    {
        require(out == &marker);
        return {rc, {}};
    }
    require(out != &marker && out != nullptr);
    Built built{rc, out};
    std::free(out);
    require(built.text.starts_with('{') && qvmfuzz::isStrictJson(built.text));
    return built;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines = splitLines(data, size);
    std::string name;
    const bool named = !lines.front().empty() && lines.front()[0] == '#';
    if (named)
    {
        name = lines.front().substr(1);
        lines.erase(lines.begin());
    }
    // Each string is its own heap block, so reading past one is caught.
    std::vector<char*> strings;
    for (const auto& line : lines)
        strings.push_back(strdup(line.c_str()));
    const auto count = static_cast<int32_t>(strings.size());
    const char* wrapper = named ? name.c_str() : nullptr;

    const Built built = run(
        [&](char** out)
        { return make_a_json_string(count, strings.data(), wrapper, out); });
    require(built.rc == 0 || built.rc == -1 || built.rc == -3 ||
            built.rc == -4 || built.rc == -5);
    const Built formatted =
        run([&](char** out)
            { return QVM_FormatData(strings.data(), count, wrapper, out); });
    // The builder's answer, but for no strings at all; a wrapped text
    // differs only in its time stamp.
    require(formatted.rc == (count == 0 ? QVM_RC_INVALID_REQUEST : built.rc));
    require(named || formatted.text == built.text);

    for (char* s : strings)
        std::free(s);
    return 0;
}
