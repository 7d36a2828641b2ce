#include "run_tool.hpp"

#include <csignal>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvmtest::tool
{

std::string contents(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = pread(fd, buffer, sizeof buffer,
                      static_cast<off_t>(text.size()))) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env)
{
    Background child(args, program, env);
    const int status = child.stop(0);
    return {status, child.out(), child.err()};
}

ScratchFolder::ScratchFolder(const std::string& name)
    : path(std::filesystem::path(testing::TempDir()) /
           (name + "-" + std::to_string(getpid())))
{
    std::filesystem::create_directories(path);
}

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

Background::Background(const std::vector<std::string>& args,
                       const std::string& program,
                       const std::vector<std::string>& env)
    // The output goes to files in memory: nobody has to read alongside the
    // child, and all of it is still there once it has ended.
    : out_(memfd_create("out", MFD_CLOEXEC)),
      err_(memfd_create("err", MFD_CLOEXEC))
{
    pid_ = fork();
    if (pid_ != 0)
        return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(out_, STDOUT_FILENO);
    dup2(err_, STDERR_FILENO);
    for (const auto& entry : env)
        putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

Background::~Background()
{
    if (pid_ > 0)
        stop(SIGKILL);
    close(out_);
    close(err_);
}

std::optional<std::string>
Background::readLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do
    {
        const std::string text = out().substr(lineStart_);
        if (const std::size_t end = text.find('\n'); end != std::string::npos)
        {
            lineStart_ += end + 1;
            return text.substr(0, end);
        }
        usleep(10000);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

int Background::stop(int signal)
{
    if (signal != 0)
        kill(pid_, signal);
    int status = 0;
    const bool ended = waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    if (!ended)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace qvmtest::tool
