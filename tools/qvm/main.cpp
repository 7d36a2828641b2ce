// qvm: the library's functions in an operator's hands.
#include "bus.hpp"
#include "cli.hpp"
#include "client/status.hpp"
#include "diagnostics.hpp"
#include "files.hpp"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <qvmclient.h>
#include <string>
#include <syslog.h>
#include <unistd.h>

namespace
{

using qvmcli::kExitOk;

int libraryVersion()
{
    std::puts(qvm::kLibraryVersion);
    return kExitOk;
}

int versions()
{
    // qvm carries the library's core in itself rather than loading it.
    std::printf("qvm %s\nlibrary %s (built in, as in %s)\n",
                QVM_PACKAGE_VERSION, qvm::kLibraryVersion, QVM_LIBRARY_SONAME);
    return kExitOk;
}

// Whatever a command printed must have reached standard output: a full
// disk or a closed file fails the command.
int flushed(int exit)
{
    errno = 0;
    const bool failed = std::fflush(stdout) != 0 || std::ferror(stdout);
    if (!failed)
        return exit;
    const int error = errno != 0 ? errno : EIO;
    qvmcli::failSystem("cannot write standard output", error);
    return exit == kExitOk ? qvmcli::kExitFailed : exit;
}

} // namespace

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail, to be reported, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    qvmcli::removeOutputsOnSignals();
    // Into a file or a pipe, large outputs go out in large writes; a
    // terminal keeps its line buffering.
    static char outputBuffer[qvmcli::kWriteBuffer];
    if (isatty(STDOUT_FILENO) == 0)
        std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    const auto addCommands = [](qvmcli::Command& app)
    {
        app.command("version", "the library's version text", libraryVersion);
        qvmcli::addSmbiosCommands(app);
        qvmcli::addManagerCommands(app);
        qvmcli::addTicketCommands(app);
        qvmcli::addEventCommands(app);
        qvmcli::addInventoryCommands(app);
    };

    qvmcli::GlobalOptions options;
    const int exit = qvmcli::runCommandLine(
        argc, argv, options, addCommands,
        [&options]
        {
            qvmcli::useBus(options.bus, options.timeout);
            qvmcli::setVerbose(options.verbose);
            if (options.maskDebug)
                setlogmask(LOG_UPTO(LOG_INFO));
        },
        versions);
    return flushed(exit);
}
