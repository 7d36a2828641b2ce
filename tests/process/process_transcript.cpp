// Replays process.transcript: each call line starts a helper program, and
// what follows it is the result, every syslog line (process ids as N), the
// signals sent, and each child that was left running.
//
//     wait PATH ARG...              QVM_system_call_wait
//     timeout SECONDS PATH ARG...   QVM_system_call_timeout
#include "process_support.hpp"
#include "qvmclient.h"
#include "support/descriptors.hpp"
#include "support/golden.hpp"

#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace
{

using qvmtest::transcript::Args;
using qvmtest::transcript::quoted;
using Results = std::vector<std::string>;

int32_t start(const std::string& how, const Args& args)
{
    if (how == "wait")
        return QVM_system_call_wait(args.text(0), args.argv(1).data());
    return QVM_system_call_timeout(args.text(1), args.argv(2).data(),
                                   static_cast<int32_t>(args.number(0)));
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
    const Args args(in);
    qvmtest::process::clearKillCalls();
    qvmtest::LogCapture log;
    Results out{"rc " + std::to_string(start(how, args))};
    for (const std::string& text : qvmtest::process::tracedTexts(log))
        out.push_back("log " + quoted(text));
    for (const auto& [pid, sig] : qvmtest::process::killCalls())
        out.push_back("kill N " + std::to_string(sig));
    reapLeftovers(out);
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
