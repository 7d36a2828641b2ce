// Shared pieces of the helper-program tests.
#pragma once

#include "support/loaded_table.hpp"
#include "support/log_capture.hpp"
#include "support/transcript.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace qvmtest::process
{

// The probe program built next to the tests (see probe.cpp).
inline const char* probePath()
{
    return QVM_PROCESS_PROBE;
}

// A null-terminated argument list that owns its strings.
class ArgList
{
  public:
    ArgList(std::initializer_list<std::string> args) : strings_(args)
    {
        for (auto& arg : strings_)
            pointers_.push_back(arg.data());
        pointers_.push_back(nullptr);
    }
    char* const* get() const { return pointers_.data(); }

  private:
    std::vector<std::string> strings_;
    std::vector<char*> pointers_;
};

// The environment a child wrote one entry a line (the probe's "env"), in
// the order the child was handed it. The one allowance for emulation: a
// cross build whose tests run under a user-mode emulator (qemu-user through
// binfmt_misc) gets QVM_CHILDREN_EMULATED from meson, and the emulator
// rebuilds every program's environment by prepending, so the child sees it
// reversed whatever the parent passed.
inline std::string childEnvironment(const std::string& path)
{
    std::string text = transcript::readText(path);
#ifdef QVM_CHILDREN_EMULATED
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line + '\n');
    text.clear();
    for (auto at = lines.rbegin(); at != lines.rend(); ++at)
        text += *at;
#endif
    return text;
}

// The captured texts with every process id after "PID " replaced by "N" (a
// 0 stays), after checking that each line is a user-facility debug line.
inline std::vector<std::string> tracedTexts(const LogCapture& log)
{
    std::vector<std::string> texts;
    for (const auto& line : log.lines())
    {
        EXPECT_EQ(line.facility, 8) << line;
        EXPECT_EQ(line.priority, 7) << line;
        std::string text = line.text;
        for (auto at = text.find("PID "); at != std::string::npos;
             at = text.find("PID ", at + 1))
        {
            const auto first = at + 4;
            const auto end = std::min(
                text.find_first_not_of("0123456789", first), text.size());
            if (end > first && text[first] != '0')
                text.replace(first, end - first, "N");
        }
        texts.push_back(std::move(text));
    }
    return texts;
}

// True when the test process has no child at all, ended or running.
inline bool noChildrenLeft()
{
    int status = 0;
    return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

// Every kill() the test process made since the last clear: the test
// executable interposes kill() to record it.
std::vector<std::pair<pid_t, int>> killCalls();
void clearKillCalls();

// Makes the next waitpid() of the test process fail with ECHILD, as when
// another part of the program has reaped the child.
void failNextWaitWithNoChild();

} // namespace qvmtest::process
