#include "child_line.hpp"

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace standin
{
namespace
{

std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line.push_back(c);
    return line;
}

[[noreturn]] void exec(const std::string& program,
                       const std::vector<std::string>& args, int out,
                       bool quiet)
{
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    dup2(out, STDOUT_FILENO);
    if (quiet)
    {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
    }
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
}

} // namespace

Child startChild(const std::string& program,
                 const std::vector<std::string>& args, bool quiet)
{
    Child child;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) < 0)
        return child;
    child.pid = fork();
    if (child.pid == 0)
        exec(program, args, fds[1], quiet);
    close(fds[1]);
    if (child.pid > 0)
        child.firstLine = readLine(fds[0]);
    close(fds[0]);
    return child;
}

} // namespace standin
