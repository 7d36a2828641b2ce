// Replays process.transcript: each call line starts a helper program, and
// what follows it is the result, every syslog line (process ids as N), the
// signals sent, each child that was left running, and what the probe
// program wrote (see probe.cpp).
//
//     wait PATH ARG...              QVM_system_call_wait
//     timeout SECONDS PATH ARG...   QVM_system_call_timeout
//     stdin TEXT PATH ARG...        QVM_system_call_wait_stdin of a stream
//                                   holding TEXT ("-": the caller's own
//                                   standard input, null: no stream)
//
// "elsewhere" before a call makes its first wait find the child reaped by
// another part of the program. @PROBE stands for the probe program, @OUT
// for the file it writes; a null PATH is a null pointer.
#include "process_support.hpp"
#include "qvmclient.h"
#include "support/descriptors.hpp"
#include "support/golden.hpp"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace
{

using qvmtest::transcript::Args;
using qvmtest::transcript::quoted;
using qvmtest::transcript::replaced;
using Results = std::vector<std::string>;

int32_t withStdin(const char* text, const char* path, char* const* argv)
{
    if (text != nullptr && std::string(text) == "-")
        return QVM_system_call_wait_stdin(stdin, path, argv);
    std::FILE* input = text != nullptr ? std::tmpfile() : nullptr;
    if (input != nullptr)
        std::fputs(text, input), std::rewind(input);
    const int32_t rc = QVM_system_call_wait_stdin(input, path, argv);
    if (input != nullptr)
        std::fclose(input);
    return rc;
}

int32_t start(const std::string& how, const Args& a, const std::string& out)
{
    const std::size_t first = how == "wait" ? 0 : 1;
    std::vector<std::string> words;
    for (std::size_t i = first; i < a.size(); ++i)
        words.push_back(replaced(a.text(i) ? a.text(i) : "", "@OUT", out));
    words[0] = replaced(words[0], "@PROBE", qvmtest::process::probePath());
    std::vector<char*> argv;
    for (std::size_t i = 1; i < words.size(); ++i)
        argv.push_back(words[i].data());
    argv.push_back(nullptr);
    const char* path = a.text(first) ? words[0].c_str() : nullptr;
    if (how == "wait")
        return QVM_system_call_wait(path, argv.data());
    if (how == "timeout")
        return QVM_system_call_timeout(path, argv.data(),
                                       static_cast<int32_t>(a.number(0)));
    return withStdin(a.text(0), path, argv.data());
}

// Reaps the children the call left behind, which must not take long: the
// ones left at the limit have been killed.
void reapLeftovers(Results& out)
{
    while (waitpid(-1, nullptr, 0) > 0)
        out.push_back("left running, reaped here");
}

Results replayLine(const std::string& line)
{
    std::istringstream in(line);
    std::string how;
    in >> how;
    if (how == "elsewhere")
        qvmtest::process::failNextWaitWithNoChild(), in >> how;
    const Args args(in);
    const qvmtest::TempFile file({});
    qvmtest::process::clearKillCalls();
    qvmtest::LogCapture log;
    Results out{"rc " + std::to_string(start(how, args, file.path()))};
    for (const std::string& text : qvmtest::process::tracedTexts(log))
        out.push_back(
            "log " + quoted(replaced(replaced(text, file.path(), "@OUT"),
                                     qvmtest::process::probePath(), "@PROBE")));
    for (const auto& [pid, sig] : qvmtest::process::killCalls())
        out.push_back("kill N " + std::to_string(sig));
    reapLeftovers(out);
    // An emulator hands the probe its environment reversed.
    const bool env = line.find(" \"env\" ") != std::string::npos;
    for (const auto& written : qvmtest::transcript::splitLines(
             env ? qvmtest::process::childEnvironment(file.path())
                 : qvmtest::transcript::readText(file.path())))
        out.push_back("out " + quoted(written));
    return out;
}

} // namespace

// Also checks that no descriptor stays open.
TEST(ProcessTranscript, EveryProgramEndsAsItsTranscriptSays)
{
    const auto descriptors = qvmtest::openDescriptors();
    qvmtest::expectTranscript(QVM_PROCESS_TRANSCRIPT, replayLine);
    EXPECT_EQ(qvmtest::openDescriptors(), descriptors);
}
