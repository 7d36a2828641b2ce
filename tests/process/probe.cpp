// A program for the helper-program tests to run: it reports what it was
// started with into a file named on its command line.
//   probe env FILE            one line per environment entry
//   probe signals FILE N...   "N default", "N ignored" or "N caught" per signal
//   probe stdin FILE          a copy of its standard input, or "<closed>"
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

extern char** environ;

namespace
{

void writeEnvironment(std::FILE* out)
{
    for (char** entry = environ; *entry != nullptr; ++entry)
        std::fprintf(out, "%s\n", *entry);
}

void writeDispositions(std::FILE* out, int count, char** numbers)
{
    for (int i = 0; i < count; ++i)
    {
        const int sig = std::atoi(numbers[i]);
        struct sigaction action = {};
        sigaction(sig, nullptr, &action);
        const char* state = action.sa_handler == SIG_DFL   ? "default"
                            : action.sa_handler == SIG_IGN ? "ignored"
                                                           : "caught";
        std::fprintf(out, "%d %s\n", sig, state);
    }
}

void copyStdin(std::FILE* out)
{
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(STDIN_FILENO, buffer, sizeof buffer)) > 0)
        std::fwrite(buffer, 1, static_cast<size_t>(got), out);
}

} // namespace

int main(int argc, char** argv)
{
    // Standard input is checked before anything can open a file onto a
    // closed descriptor 0.
    const bool stdinOpen = fcntl(STDIN_FILENO, F_GETFD) != -1;
    if (argc < 3)
        return 2;
    std::FILE* out = std::fopen(argv[2], "w");
    if (out == nullptr)
        return 2;
    const char* mode = argv[1];
    if (std::strcmp(mode, "env") == 0)
        writeEnvironment(out);
    else if (std::strcmp(mode, "signals") == 0)
        writeDispositions(out, argc - 3, argv + 3);
    else if (std::strcmp(mode, "stdin") == 0 && !stdinOpen)
        std::fputs("<closed>", out);
    else if (std::strcmp(mode, "stdin") == 0)
        copyStdin(out);
    else
        return 2;
    return std::fclose(out) == 0 ? 0 : 2;
}
