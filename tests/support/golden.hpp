// Expectation files checked from a test: a failure names the differing
// lines; QVM_UPDATE_GOLDEN=1 rewrites the files instead.
#pragma once

#include "transcript.hpp"

#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace qvmtest
{

template <typename Text>
void expectGolden(const std::string& path, const Text& text)
{
    std::ostringstream report;
    EXPECT_TRUE(transcript::golden(text, path, report)) << report.str();
}

inline void expectTranscript(const std::string& path,
                             const transcript::Replay& call)
{
    EXPECT_EQ(transcript::check(path, call), 0);
}

} // namespace qvmtest
