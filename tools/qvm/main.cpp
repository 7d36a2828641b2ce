// qvm: the library's functions in an operator's hands.
#include "bus.hpp"
#include "cli.hpp"
#include "diagnostics.hpp"

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <qvmclient.h>
#include <string>
#include <syslog.h>

namespace
{

using qvmcli::kExitOk;

// The SONAME of the library this qvm runs with, from its dynamic section.
std::string libraryName()
{
    Dl_info where{};
    link_map* map = nullptr;
    void* self = reinterpret_cast<void*>(&QVM_GetLibraryVersion);
    if (dladdr1(self, &where, reinterpret_cast<void**>(&map),
                RTLD_DL_LINKMAP) == 0 ||
        map == nullptr)
        return "?";
    const char* strings = nullptr;
    ElfW(Xword) soname = 0;
    bool named = false;
    for (const ElfW(Dyn)* d = map->l_ld; d->d_tag != DT_NULL; ++d)
    {
        if (d->d_tag == DT_STRTAB)
            strings = reinterpret_cast<const char*>(d->d_un.d_ptr);
        else if (d->d_tag == DT_SONAME)
        {
            soname = d->d_un.d_val;
            named = true;
        }
    }
    return strings != nullptr && named ? strings + soname : "?";
}

int libraryVersion()
{
    char* text = nullptr;
    const int32_t rc = QVM_GetLibraryVersion(&text);
    if (rc != QVM_RC_SUCCESS)
        return qvmcli::fail("version", rc);
    qvmcli::printAndFree(text);
    return kExitOk;
}

int versions()
{
    char* text = nullptr;
    QVM_GetLibraryVersion(&text);
    std::printf("qvm %s\nlibrary %s (%s)\n", QVM_PACKAGE_VERSION,
                text != nullptr ? text : "?", libraryName().c_str());
    std::free(text);
    return kExitOk;
}

// The command that the command line chose: the deepest one parsed.
const CLI::App* chosen(const CLI::App& app)
{
    const CLI::App* at = &app;
    for (auto subs = at->get_subcommands(); !subs.empty();
         subs = at->get_subcommands())
        at = subs.front();
    return at;
}

int usageError(const CLI::App* where, const std::string& message)
{
    const std::string title = qvmcli::titleOf(where);
    std::fprintf(stderr, "qvm: %s%s%s\n", title.c_str(),
                 title.empty() ? "" : ": ", message.c_str());
    std::fprintf(stderr, "Run 'qvm%s%s --help' for its arguments.\n",
                 title.empty() ? "" : " ", title.c_str());
    return qvmcli::kExitUsage;
}

} // namespace

int main(int argc, char** argv)
{
    // A file-size limit makes a write fail, to be reported, instead of
    // ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    CLI::App app("the library's functions from the command line", "qvm");
    app.formatter(qvmcli::helpFormatter());
    app.fallthrough();
    std::string bus;
    bool verbose = false;
    bool maskDebug = false;
    bool version = false;
    app.add_option("--bus", bus, "the D-Bus bus to use as the system bus")
        ->type_name("ADDRESS");
    app.add_flag("--verbose", verbose, "show the library's log lines");
    app.add_flag("--mask-debug", maskDebug,
                 "mask the library's debug lines, as a daemon does");
    app.add_flag("--version", version, "the versions of qvm and the library");
    qvmcli::addCommand(app, "version", "the library's version text",
                       libraryVersion);
    qvmcli::addSmbiosCommands(app);
    qvmcli::addManagerCommands(app);
    qvmcli::addTicketCommands(app);
    qvmcli::addEventCommands(app);
    qvmcli::addInventoryCommands(app);

    try
    {
        app.parse(argc, argv);
    }
    catch (const CLI::CallForHelp&)
    {
        std::fputs(app.help().c_str(), stdout);
        return kExitOk;
    }
    catch (const CLI::ParseError& e)
    {
        return usageError(chosen(app), e.what());
    }
    const CLI::App* command = chosen(app);
    const qvmcli::Run* run = qvmcli::runOf(command);
    if (version && command == &app)
        return versions();
    if (run == nullptr)
    {
        std::fputs(command->help().c_str(), stderr);
        return qvmcli::kExitUsage;
    }
    qvmcli::useBus(bus);
    qvmcli::setVerbose(verbose);
    if (maskDebug)
        setlogmask(LOG_UPTO(LOG_INFO));
    try
    {
        return (*run)();
    }
    catch (const qvmcli::UsageError& e)
    {
        return usageError(command, e.message);
    }
}
