#include "process_support.hpp"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <mutex>
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

ArgList::ArgList(std::initializer_list<std::string> args) : strings_(args)
{
    for (auto& arg : strings_)
        pointers_.push_back(arg.data());
    pointers_.push_back(nullptr);
}

ScratchDir::ScratchDir()
{
    std::string pattern =
        (std::filesystem::temp_directory_path() / "qvm-process-XXXXXX")
            .string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDir::file(const std::string& name) const
{
    return (path_ / name).string();
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

pid_t readPid(const std::string& path)
{
    return static_cast<pid_t>(std::atoi(readFile(path).c_str()));
}

std::vector<std::string> textsWithoutPids(const LogCapture& log)
{
    static const std::string marker = "PID ";
    std::vector<std::string> texts;
    for (const auto& line : log.lines())
    {
        std::string text = line.text;
        for (auto at = text.find(marker); at != std::string::npos;
             at = text.find(marker, at + 1))
        {
            const auto first = at + marker.size();
            auto end = first;
            while (end < text.size() && std::isdigit(text[end]))
                ++end;
            if (end > first && text[first] != '0')
                text.replace(first, end - first, "N");
        }
        texts.push_back(std::move(text));
    }
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
