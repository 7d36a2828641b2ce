// Replays builder.transcript: each call line is a list of field strings
// given to the builder; under it come the text it writes, line by line, or
// its status. Flat lists are also written straight from the strings, which
// must give the same bytes; a list the direct writer declines is marked.
#include "fields/json_text.hpp"
#include "fields/plain_object.hpp"
#include "qvmclient.h"
#include "support/transcript.hpp"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace transcript = qvmtest::transcript;

namespace
{

std::vector<std::string> builderCall(const std::string& line)
{
    std::istringstream in(line);
    const transcript::Args args(in);
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < args.size(); ++i)
        strings.emplace_back(args.text(i));
    std::vector<std::string> copies = strings;
    std::vector<char*> pointers;
    for (auto& s : copies)
        pointers.push_back(s.data());
    char marker = 0;
    char* out = &marker;
    const int32_t rc = make_a_json_string(static_cast<int32_t>(pointers.size()),
                                          pointers.data(), nullptr, &out);
    std::vector<std::string> results;
    if (copies != strings)
        results.emplace_back("strings changed");
    if (rc != 0)
    {
        results.push_back("rc " + std::to_string(rc));
        if (out != &marker)
            results.emplace_back("out written although the call failed");
        return results;
    }
    const std::string text = out;
    std::free(out);
    std::istringstream lines(text);
    for (std::string l; std::getline(lines, l);)
        results.push_back(transcript::quoted(l));

    const auto direct = qvm::plainObjectText(
        static_cast<int32_t>(pointers.size()), pointers.data());
    if (!direct)
        results.emplace_back("through the document only");
    else if (char* strict = qvm::strictJsonCopy(*direct); strict != nullptr)
    {
        if (text != strict)
            results.push_back("direct writer gives " +
                              transcript::quoted(strict));
        std::free(strict);
    }
    return results;
}

} // namespace

TEST(Builder, Transcript)
{
    EXPECT_EQ(transcript::check(QVM_BUILDER_TRANSCRIPT, builderCall), 0);
}
