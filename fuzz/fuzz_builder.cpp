// Feeds the field-string builder arbitrary lists of strings: the input is
// split at newlines, one string per line; a first line starting with "#"
// names the wrapper ("#Structure"). Besides memory errors, it checks that a
// rejected list leaves out alone and that accepted output is valid JSON.
#include "qvmclient.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <json-c/json.h>
#include <string>
#include <vector>

namespace
{

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

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> lines = splitLines(data, size);
    std::string name;
    bool named = !lines.front().empty() && lines.front()[0] == '#';
    if (named)
    {
        name = lines.front().substr(1);
        lines.erase(lines.begin());
    }
    // Each string is its own heap block, so reading past one is caught.
    std::vector<char*> strings;
    for (const auto& line : lines)
        strings.push_back(strdup(line.c_str()));

    char marker = 0;
    char* out = &marker;
    const int32_t rc =
        make_a_json_string(static_cast<int32_t>(strings.size()), strings.data(),
                           named ? name.c_str() : nullptr, &out);
    if (rc == 0)
    {
        check(out != &marker && out != nullptr);
        json_object* doc = json_tokener_parse(out);
        check(json_object_is_type(doc, json_type_object));
        json_object_put(doc);
        std::free(out);
    }
    else
    {
        check(out == &marker);
        check(rc == -1 || rc == -3 || rc == -4 || rc == -5);
    }
    for (char* s : strings)
        std::free(s);
    return 0;
}
