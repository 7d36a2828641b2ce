// Which SMBIOS table the smbios commands read, and loading it.
//
// --table FILE (or --from-dump FILE) reads a file: a raw structure table,
// or one that starts with a 32-bit or 64-bit entry point, as dmidecode's
// --dump-bin writes it or as the kernel's smbios_entry_point and DMI files
// give it saved one after the other. "--table sample" reads the bundled
// sample. --from-bus loads the table as the library's own users do, from
// the file that the inventory daemon names. Without either, the daemon's
// table when the daemon is on the bus, else this machine's own; nothing
// falls back silently to the sample.
#pragma once

#include "entry_point.hpp"

#include <CLI/App.hpp>
#include <functional>
#include <optional>
#include <string>

namespace qvmcli
{

// Where the kernel shows the machine's own structure table.
inline constexpr char kMachineTable[] = "/sys/firmware/dmi/tables/DMI";
inline constexpr char kMachineEntryPoint[] =
    "/sys/firmware/dmi/tables/smbios_entry_point";

struct TableChoice
{
    std::string file;
    bool fromBus = false;
};
void addTableOptions(CLI::App& command, TableChoice& choice);

// Where the loaded table came from.
struct TableSource
{
    enum class Kind
    {
        file,
        sample,
        machine,
        inventoryDaemon
    };
    Kind kind = Kind::file;
    std::string path; // the file read; for the daemon, the path it gave
    std::optional<EntryPoint> entryPoint;
    std::size_t tableOffset = 0; // where the table starts in that file

    // "file t.bin", "the inventory daemon on the bus at ADDRESS", ...
    std::string describe() const;
};

// Loads the table that choice names, runs body on it and unloads it.
// Whatever keeps the table from loading is reported under title.
int withTable(const std::string& title, const TableChoice& choice,
              const std::function<int(const TableSource&)>& body);

} // namespace qvmcli
