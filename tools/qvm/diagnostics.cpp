#include "diagnostics.hpp"

#include "common/log.hpp"

#include <cstdio>
#include <string>
#include <vector>

namespace qvmcli
{
namespace
{

bool verbose = false;
std::vector<std::string> kept;

std::string withoutNewline(std::string text)
{
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

void onLine(int priority, const char* text)
{
    const std::string line = withoutNewline(text);
    if (verbose)
        std::fprintf(stderr, "qvm: library: %s\n", line.c_str());
    else if (priority <= qvm::priority::kWarning)
        kept.push_back(line);
}

} // namespace

void setVerbose(bool on)
{
    verbose = on;
    // Without --verbose only failures and warnings are kept: the debug
    // lines (three per hex dump) are then not even formatted for qvm.
    qvm::setLogMirror(onLine,
                      on ? qvm::priority::kDebug : qvm::priority::kWarning);
    // qvm makes no syslog settings of its own.
    qvm::keepLogConnection();
}

void printCauses()
{
    for (const std::string& line : kept)
        std::fprintf(stderr, "qvm: library: %s\n", line.c_str());
    kept.clear();
}

} // namespace qvmcli
