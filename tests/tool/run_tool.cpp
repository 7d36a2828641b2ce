#include "run_tool.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace qvmtest::tool
{
namespace
{

struct Pipe
{
    int read = -1;
    int write = -1;
    Pipe()
    {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) == 0)
        {
            read = fds[0];
            write = fds[1];
        }
    }
};

// In the child: the pipes become its output, then program runs.
[[noreturn]] void exec(const std::string& program,
                       const std::vector<std::string>& args,
                       const std::vector<std::string>& env, int out, int err)
{
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

pid_t start(const std::string& program, const std::vector<std::string>& args,
            const std::vector<std::string>& env, Pipe& out, Pipe& err)
{
    const pid_t pid = fork();
    if (pid == 0)
        exec(program, args, env, out.write, err.write);
    close(out.write);
    close(err.write);
    return pid;
}

// Appends what fd has to text; false at its end.
bool drain(int fd, std::string& text)
{
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return n > 0 || (n < 0 && errno == EINTR);
}

int statusOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int waitFor(pid_t pid)
{
    int status = 0;
    return waitpid(pid, &status, 0) == pid ? statusOf(status) : -1;
}

} // namespace

Result run(const std::string& program, const std::vector<std::string>& args,
           const std::vector<std::string>& env)
{
    Pipe out;
    Pipe err;
    const pid_t pid = start(program, args, env, out, err);
    Result result{};
    pollfd fds[] = {{out.read, POLLIN, 0}, {err.read, POLLIN, 0}};
    std::string* texts[] = {&result.out, &result.err};
    for (int open = 2; open > 0;)
    {
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i)
            if (fds[i].fd >= 0 && fds[i].revents != 0 &&
                !drain(fds[i].fd, *texts[i]))
            {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
    }
    result.status = waitFor(pid);
    return result;
}

Background::Background(const std::vector<std::string>& args)
{
    Pipe out;
    Pipe err;
    pid_ = start(qvmProgram(), args, {}, out, err);
    out_ = out.read;
    err_ = err.read;
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
    for (;;)
    {
        const std::size_t end = pending_.find('\n');
        if (end != std::string::npos)
        {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{out_, POLLIN, 0};
        if (left.count() <= 0 ||
            poll(&fd, 1, static_cast<int>(left.count())) <= 0 ||
            !drain(out_, pending_))
            return std::nullopt;
    }
}

int Background::stop(int signal, std::chrono::milliseconds grace)
{
    if (signal != 0)
        kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid_, &status, WNOHANG)) == 0)
    {
        if (std::chrono::steady_clock::now() > deadline)
            kill(pid_, SIGKILL);
        usleep(10000);
    }
    pid_ = -1;
    return ended > 0 ? statusOf(status) : -1;
}

const std::string& Background::err()
{
    pollfd fd{err_, POLLIN, 0};
    while (poll(&fd, 1, 0) > 0 && drain(err_, errText_))
        ;
    return errText_;
}

} // namespace qvmtest::tool
