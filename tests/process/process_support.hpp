// Shared pieces of the helper-program tests.
#pragma once

#include "support/log_capture.hpp"

#include <filesystem>
#include <initializer_list>
#include <string>
#include <sys/types.h>
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

// A fresh directory, removed with everything in it at the end of the test.
class ScratchDir
{
  public:
    ScratchDir();
    ~ScratchDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string file(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

std::string readFile(const std::string& path);
pid_t readPid(const std::string& path);

// The captured texts with every process id after "PID " replaced by "N" (a
// 0 stays).
std::vector<std::string> textsWithoutPids(const LogCapture& log);
// The same, after checking that each line is a user-facility debug line.
std::vector<std::string> tracedTexts(const LogCapture& log);

// True when the test process has no child at all, ended or running.
bool noChildrenLeft();

// Every kill() the test process made since the last clear: the test
// executable interposes kill() to record it.
std::vector<std::pair<pid_t, int>> killCalls();
void clearKillCalls();

} // namespace qvmtest::process
