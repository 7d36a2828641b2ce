#include "process_support.hpp"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
#include <regex>
#include <sstream>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{

std::mutex killMutex;
std::vector<std::pair<pid_t, int>> recordedKills;

} // namespace

// Records the signal and sends it as the C library would.
extern "C" int kill(pid_t pid, int sig)
{
    {
        std::lock_guard lock(killMutex);
        recordedKills.emplace_back(pid, sig);
    }
    return static_cast<int>(syscall(SYS_kill, pid, sig));
}

namespace qvmtest::process
{

ScratchDir::ScratchDir()
{
    std::string pattern =
        std::filesystem::temp_directory_path() / "qvm-process-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

std::string readFile(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

pid_t readPid(const std::string& path)
{
    return static_cast<pid_t>(std::atoi(readFile(path).c_str()));
}

std::vector<std::string> textsWithoutPids(const LogCapture& log)
{
    static const std::regex pid("PID [1-9][0-9]*");
    std::vector<std::string> texts;
    for (const auto& line : log.lines())
        texts.push_back(std::regex_replace(line.text, pid, "PID N"));
    return texts;
}

std::vector<std::string> tracedTexts(const LogCapture& log)
{
    for (const auto& line : log.lines())
    {
        EXPECT_EQ(line.facility, 8) << line;
        EXPECT_EQ(line.priority, 7) << line;
    }
    return textsWithoutPids(log);
}

bool noChildrenLeft()
{
    int status = 0;
    return waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

std::vector<std::pair<pid_t, int>> killCalls()
{
    std::lock_guard lock(killMutex);
    return recordedKills;
}

void clearKillCalls()
{
    std::lock_guard lock(killMutex);
    recordedKills.clear();
}

} // namespace qvmtest::process
