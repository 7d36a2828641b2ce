// Running the built qvm program from a test, as a user would.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qvmtest::tool
{

// The qvm program and the sample table of this build.
inline const char* qvmProgram()
{
    return QVM_TOOL_PATH;
}
inline const char* sampleTable()
{
    return QVM_SAMPLE_TABLE;
}

struct Result
{
    int status; // exit code, or 128 + the signal that ended it
    std::string out;
    std::string err;
};

// Runs program with args and extra environment entries ("NAME=value") and
// waits for it.
Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env = {});

inline Result runQvm(const std::vector<std::string>& args)
{
    return run(qvmProgram(), args);
}

// qvm started in the background with its standard output on a pipe.
class Background
{
  public:
    explicit Background(const std::vector<std::string>& args);
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // The next line of its standard output, or nothing within timeout.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    // Sends signal (0: none) and waits for the end, killing it when it has
    // not ended within grace; the status as in Result.
    int stop(int signal,
             std::chrono::milliseconds grace = std::chrono::seconds(10));
    // What it wrote on standard error so far (all of it after stop).
    const std::string& err();

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string pending_;
    std::string errText_;
};

} // namespace qvmtest::tool
