// Running the built qvm program from a test, as a user would.
#pragma once

#include "tablegen/table_builder.hpp"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <sys/types.h>
#include <vector>

namespace qvmtest::tool
{

// The qvm program and the sample table of this build.
inline constexpr char kProgram[] = QVM_TOOL_PATH;
inline constexpr char kSample[] = QVM_SAMPLE_TABLE;

struct Result
{
    int status; // exit code, or 128 + the signal that ended it
    std::string out;
    std::string err;

    bool operator==(const Result&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Result& r)
{
    return os << "status " << r.status << "\nout: " << r.out
              << "\nerr: " << r.err;
}

// The words of a command line written with single blanks between them.
std::vector<std::string> words(const std::string& line);

// Runs program with args and extra environment entries ("NAME=value") and
// waits for it.
Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env = {});

inline Result runQvm(const std::vector<std::string>& args)
{
    return run(kProgram, args);
}

// A folder of the test's own, NAME-PID in the temporary folder, removed
// with all it holds at the end.
struct ScratchFolder
{
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder() { std::filesystem::remove_all(path); }
    std::string operator/(const std::string& entry) const
    {
        return (path / entry).string();
    }
    const std::filesystem::path path;
};

// All that has been written to fd.
std::string contents(int fd);

// A program (qvm unless told) started in the background, its output kept.
class Background
{
  public:
    explicit Background(const std::vector<std::string>& args,
                        const std::string& program = kProgram,
                        const std::vector<std::string>& env = {});
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // The next line of its standard output, or nothing within timeout.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout);
    void send(int signal) const { kill(pid_, signal); }
    // Sends signal (0: none) and waits for the end; the status as in Result.
    int stop(int signal);
    // What it wrote on standard output and error so far.
    std::string out() const { return contents(out_); }
    std::string err() const { return contents(err_); }

  private:
    pid_t pid_ = -1;
    int out_;
    int err_;
    std::size_t lineStart_ = 0; // where the next line of output starts
};

} // namespace qvmtest::tool
