#include "smbios_table.hpp"

#include "bus.hpp"
#include "cli.hpp"
#include "diagnostics.hpp"
#include "files.hpp"
#include "tablegen/sample_location.hpp"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <qvmclient.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qvmcli
{
namespace
{

constexpr char kDaemon[] = "xyz.openbmc_project.invd";
constexpr char kTablePathProperty[] = "FullSMBIOSTablePath";
constexpr char kSampleWord[] = "sample";

// Unloads the table at the end of a command, whatever SmbiosInit left.
struct TableLoad
{
    explicit TableLoad(const char* path) : status(SmbiosInit(path)) {}
    ~TableLoad() { SmbiosCleanup(); }
    TableLoad(const TableLoad&) = delete;
    TableLoad& operator=(const TableLoad&) = delete;

    const int64_t status;
};

// A table file opened for reading: its size and first bytes, or why it
// cannot be read.
struct TableFile
{
    explicit TableFile(const std::string& path)
        : fd(open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        struct stat st
        {
        };
        if (fd < 0 || fstat(fd, &st) != 0)
            problem = std::strerror(errno);
        else if (S_ISDIR(st.st_mode))
            problem = std::strerror(EISDIR);
        else if (!S_ISREG(st.st_mode))
            problem = "not a regular file";
        else if (st.st_size == 0)
            problem = "the file is empty";
        else
        {
            size = static_cast<uint64_t>(st.st_size);
            head = read(0, std::min<uint64_t>(size, kEntryPointRoom));
        }
    }
    ~TableFile()
    {
        if (fd >= 0)
            close(fd);
    }
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    // count bytes from offset; problem is set when they cannot be read.
    Bytes read(uint64_t offset, std::size_t count)
    {
        Bytes bytes(count);
        std::size_t done = 0;
        while (done < count)
        {
            const ssize_t n = pread(fd, bytes.data() + done, count - done,
                                    static_cast<off_t>(offset + done));
            if (n <= 0)
            {
                problem = n < 0 ? std::strerror(errno)
                                : "the file is shorter "
                                  "than it says";
                return {};
            }
            done += static_cast<std::size_t>(n);
        }
        return bytes;
    }

    int fd;
    uint64_t size = 0;
    Bytes head;
    std::string problem;
};

int loaded(const std::string& title, const std::string& what,
           const TableLoad& load)
{
    return load.status == QVM_RC_SUCCESS
               ? kExitOk
               : fail(title + ": cannot load " + what, load.status);
}

// A file given by name. One that starts with an entry point is loaded
// through a scratch file that holds its table alone, since the library
// reads a raw table.
int fromFile(const std::string& title, TableSource source,
             const std::string& what,
             const std::function<int(const TableSource&)>& body)
{
    TableFile file(source.path);
    if (!file.problem.empty())
        return failWith(title, "cannot read " + what + ": " + file.problem);
    source.entryPoint = readEntryPoint(file.head);
    if (!source.entryPoint)
    {
        const TableLoad load(source.path.c_str());
        const int exit = loaded(title, what, load);
        return exit != kExitOk ? exit : body(source);
    }
    const TableRange range = tableRange(*source.entryPoint, file.size);
    const Bytes table = file.read(range.offset, range.size);
    if (range.size == 0 || !file.problem.empty())
        return failWith(title, what + " holds an SMBIOS entry point but no "
                                      "table after it");
    source.tableOffset = range.offset;
    const ScratchFile copy;
    if (copy.path().empty() ||
        !copy.write(
            {reinterpret_cast<const char*>(table.data()), table.size()}))
        return failSystem(title + ": cannot make a scratch file");
    const TableLoad load(copy.path().c_str());
    const int exit = loaded(title, what, load);
    return exit != kExitOk ? exit : body(source);
}

int fromSample(const std::string& title,
               const std::function<int(const TableSource&)>& body)
{
    const std::string path = tablegen::sampleTablePath();
    if (path.empty())
        return failWith(title, "the bundled sample table is missing (looked "
                               "in " +
                                   tablegen::sampleTablePlaces() + ")");
    return fromFile(title, {TableSource::Kind::sample, path, {}, 0},
                    "the sample table " + path, body);
}

int fromMachine(const std::string& title,
                const std::function<int(const TableSource&)>& body)
{
    if (access(kMachineTable, R_OK) != 0)
    {
        failWith(title, std::string("cannot read this machine's SMBIOS "
                                    "table ") +
                            kMachineTable + ": " + std::strerror(errno));
        std::fputs("qvm: give a table with --table FILE, or --table sample "
                   "for the bundled sample table\n",
                   stderr);
        return kExitFailed;
    }
    TableSource source{TableSource::Kind::machine, kMachineTable, {}, 0};
    return fromFile(title, source,
                    std::string("the SMBIOS table ") + kMachineTable,
                    [&](const TableSource& raw)
                    {
                        // The kernel shows the entry point apart.
                        TableSource withEntry = raw;
                        TableFile entry(kMachineEntryPoint);
                        if (entry.problem.empty())
                            withEntry.entryPoint = readEntryPoint(entry.head);
                        return body(withEntry);
                    });
}

// The table path that the inventory daemon gives; empty after reporting
// why there is none.
std::string daemonTablePath(const std::string& title, sd_bus* bus)
{
    const std::string on = " on the bus at " + busAddress();
    if (!nameHasOwner(bus, kDaemon))
    {
        failWith(title,
                 std::string("no inventory daemon (") + kDaemon + ")" + on);
        return {};
    }
    char* raw = nullptr;
    const int32_t rc = get_property_from_invd(bus, kTablePathProperty, &raw);
    const HeapText path(raw);
    if (rc == QVM_RC_SUCCESS && path && *path != '\0')
        return path.get();
    failWith(title, std::string("the inventory daemon") + on +
                        " gives no table path (" + kTablePathProperty + ")");
    printCauses();
    return {};
}

int fromDaemon(const std::string& title,
               const std::function<int(const TableSource&)>& body)
{
    const Bus bus = connectBus(title);
    if (!bus)
        return kExitFailed;
    const std::string path = daemonTablePath(title, bus.get());
    if (path.empty())
        return kExitFailed;
    TableSource source{TableSource::Kind::inventoryDaemon, path, {}, 0};
    TableFile file(path);
    if (!file.problem.empty())
        return failWith(title, "cannot read " + path +
                                   ", the SMBIOS table that the inventory "
                                   "daemon on the bus at " +
                                   busAddress() + " names: " + file.problem);
    if (readEntryPoint(file.head))
        std::fprintf(stderr,
                     "qvm: warning: %s starts with an SMBIOS entry point, "
                     "which the library reads as if it were a structure\n",
                     path.c_str());
    // Loaded exactly as the library's users load it.
    const TableLoad load(nullptr);
    const int exit = loaded(title, "the SMBIOS table " + path, load);
    return exit != kExitOk ? exit : body(source);
}

// Whether the inventory daemon is on the bus, for the default choice.
bool daemonPresent()
{
    int error = 0;
    const Bus bus = defaultBus(error);
    return bus && nameHasOwner(bus.get(), kDaemon);
}

} // namespace

void addTableOptions(CLI::App& command, TableChoice& choice)
{
    CLI::Option* file =
        command
            .add_option("--table,--from-dump", choice.file,
                        "the table file: raw, or behind an entry point as "
                        "dmidecode --dump-bin writes it; 'sample' for the "
                        "bundled sample")
            ->type_name("FILE");
    command
        .add_flag("--from-bus", choice.fromBus,
                  "the file that the inventory daemon names, loaded as the "
                  "library's users load it")
        ->excludes(file);
}

std::string TableSource::describe() const
{
    switch (kind)
    {
        case Kind::sample:
            return "the bundled sample " + path;
        case Kind::machine:
            return "this machine's table " + path;
        case Kind::inventoryDaemon:
            return "the inventory daemon on the bus at " + busAddress() +
                   ", which names " + path;
        case Kind::file:
            break;
    }
    return "file " + path;
}

int withTable(const std::string& title, const TableChoice& choice,
              const std::function<int(const TableSource&)>& body)
{
    if (choice.file == kSampleWord)
        return fromSample(title, body);
    if (!choice.file.empty())
        return fromFile(title, {TableSource::Kind::file, choice.file, {}, 0},
                        "the SMBIOS table " + choice.file, body);
    if (choice.fromBus || daemonPresent())
        return fromDaemon(title, body);
    return fromMachine(title, body);
}

} // namespace qvmcli
