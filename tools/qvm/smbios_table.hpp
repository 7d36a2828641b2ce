// Which SMBIOS table the smbios commands read, and loading it.
//
// --table FILE (or --from-dump FILE) reads a file: a raw structure table,
// or one that starts with a 32-bit or 64-bit entry point, as dmidecode's
// --dump-bin writes it or as the kernel's smbios_entry_point and DMI files
// give it saved one after the other. "--table sample" reads the bundled
// sample. --from-bus reads the file that the inventory daemon names, as the
// library's own users do. Without either, the daemon's table when the
// daemon is on the bus, else this machine's own; a bus named with --bus is
// never exchanged for a local file, and nothing falls back silently to the
// sample.
#pragma once

#include "cli.hpp"
#include "core_table.hpp"
#include "smbios/entry_point.hpp"
#include "smbios/view/version_choice.hpp"

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace qvmcli
{

using qvm::smbios::Bytes;
using qvm::smbios::EntryPoint;

// Where the kernel shows the machine's own structure table.
inline constexpr char kMachineTable[] = "/sys/firmware/dmi/tables/DMI";
inline constexpr char kMachineEntryPoint[] =
    "/sys/firmware/dmi/tables/smbios_entry_point";

struct TableChoice
{
    std::string file;
    bool fromBus = false;
    bool strict = false;
};
void addTableOptions(Command& command, TableChoice& choice);
// The options that choose the table, without --strict.
void addTableSource(Command& command, TableChoice& choice);

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

// What a command shows of the table: what the library hands out or
// exports (at most kMaxOfOneType structures of a type), or every structure
// the walk reaches (the faithful view, list, dump-bin).
enum class Reach
{
    library,
    everyStructure,
};

// Loads the table that choice names, reports on standard error what of it
// the walk cannot reach or, for a command of the library's reach, what the
// library leaves aside, runs body on it and unloads it. With --strict such
// a report makes the command fail.
using TableBody =
    std::function<int(const TableSource&, const core::Walk& walk)>;
int withTable(const std::string& title, const TableChoice& choice,
              const TableBody& body, Reach reach = Reach::library);
// Reads the table that choice names and runs body on its bytes (those the
// file holds for it, behind any entry point) without loading it into the
// library: for commands that must see a table the library refuses.
using BytesBody =
    std::function<int(const TableSource&, std::span<const std::uint8_t> table)>;
int withTableBytes(const std::string& title, const TableChoice& choice,
                   const BytesBody& body);

// --smbios-version MAJOR.MINOR: the version to read a table as when it
// has no entry point to say.
using GivenVersion = std::optional<qvm::decode::SmbiosVersion>;
void addVersionOption(Command& command, GivenVersion& given);

// The SMBIOS version the table is read as: its entry point's when the
// source has one, else the one given, else the newest its structure
// lengths allow.
qvm::smbios::TableVersion tableVersion(const TableSource& source,
                                       const qvm::smbios::TableView& table,
                                       const GivenVersion& given);

// "structure 0x0400 (type 4, Processor Information) at byte 0x1A0"
std::string nameOf(const core::TableEntry& entry);
// The name of a structure type, as the library's type table has it.
std::string typeName(std::uint8_t type);

} // namespace qvmcli
