#include "run_tool.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sstream>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvmtest::tool
{
namespace
{

// A file in memory: the child writes there without anyone having to read
// alongside it, and the whole text is still there once it has ended.
int memoryFile()
{
    return memfd_create("qvm-output", MFD_CLOEXEC);
}

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

pid_t start(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, int out, int err)
{
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    for (const auto& entry : env)
        putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

int statusOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env)
{
    const int out = memoryFile();
    const int err = memoryFile();
    int status = 0;
    const pid_t pid = start(program, args, env, out, err);
    Result result{waitpid(pid, &status, 0) == pid ? statusOf(status) : -1,
                  contents(out), contents(err)};
    close(out);
    close(err);
    return result;
}

std::vector<std::string> words(const std::string& line)
{
    std::vector<std::string> out;
    std::istringstream in(line);
    for (std::string word; in >> word;)
        out.push_back(word);
    return out;
}

void expectEach(std::span<const Case> cases,
                const std::vector<std::string>& extra)
{
    for (const Case& c : cases)
    {
        std::vector<std::string> args = words(c.line);
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(runQvm(args), (Result{c.status, c.out, c.err})) << c.line;
    }
}

Background::Background(const std::vector<std::string>& args)
    : err_(memoryFile())
{
    int out[2] = {-1, -1};
    pipe2(out, O_CLOEXEC);
    pid_ = start(kProgram, args, {}, out[1], err_);
    close(out[1]);
    out_ = out[0];
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
    std::size_t end = 0;
    while ((end = pending_.find('\n')) == std::string::npos)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{out_, POLLIN, 0};
        char buffer[4096];
        ssize_t n = 0;
        if (left.count() <= 0 ||
            poll(&fd, 1, static_cast<int>(left.count())) <= 0 ||
            (n = read(out_, buffer, sizeof buffer)) <= 0)
            return std::nullopt;
        pending_.append(buffer, static_cast<std::size_t>(n));
    }
    std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    return line;
}

int Background::stop(int signal)
{
    if (signal != 0)
        kill(pid_, signal);
    int status = 0;
    const bool ended = waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended ? statusOf(status) : -1;
}

std::string Background::err() const
{
    return contents(err_);
}

} // namespace qvmtest::tool
