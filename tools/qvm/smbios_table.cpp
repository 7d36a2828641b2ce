#include "smbios_table.hpp"

#include "bus.hpp"
#include "common/handles.hpp"
#include "files.hpp"
#include "inventory/invd.hpp"
#include "qvmclient.h"
#include "smbios/decode/value_tables.hpp"
#include "smbios/structure_view.hpp"
#include "tablegen/sample_location.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <optional>

namespace qvmcli
{
namespace
{

using qvm::invd::kService;
using qvm::invd::kTablePath;
constexpr char kSampleWord[] = "sample";

std::string hex(std::size_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "0x%zX", value);
    return text;
}

// What a table file holds: the table itself, after the entry point that
// precedes it if any. Empty bytes after reporting why there is no table.
struct TableBytes
{
    Bytes file;
    std::size_t offset = 0;
    std::size_t size = 0;
    bool cutShort = false;
    bool usable = false;
};

// Splits a file's bytes into entry point and table; what is wrong with
// them is said under title, of what (a name for the file).
TableBytes splitTable(const std::string& title, const std::string& what,
                      Bytes file, std::optional<EntryPoint>& entryPoint)
{
    TableBytes table{std::move(file), 0, 0, false, false};
    if (table.file.empty())
    {
        failWith(title, what + " is empty");
        return table;
    }
    entryPoint = qvm::smbios::readEntryPoint(
        {table.file.data(),
         std::min(table.file.size(), qvm::smbios::kEntryPointRoom)});
    if (!entryPoint)
    {
        table.size = table.file.size();
        table.usable = true;
        return table;
    }
    const auto range = qvm::smbios::tableRange(*entryPoint, table.file.size());
    // A dump pads its entry point to 0x20 bytes; no structure fits in less
    // than its header.
    if (table.file.size() <= qvm::smbios::kEntryPointRoom ||
        range.size < qvm::smbios::kHeaderSize)
    {
        failWith(title, what + " holds only an SMBIOS entry point (" +
                            std::to_string(table.file.size()) +
                            " bytes), no table after it");
        return table;
    }
    table.offset = range.offset;
    table.size = range.size;
    table.usable = true;
    if (range.size < entryPoint->tableLength)
    {
        table.cutShort = true;
        warn(title, "the entry point announces " +
                        std::to_string(entryPoint->tableLength) +
                        " bytes, the file holds " + std::to_string(range.size));
    }
    return table;
}

// What runs on the table once it is read: the library's load and a
// TableBody, or a BytesBody on the bytes alone.
using Reader = std::function<int(const TableSource&, const TableBytes&)>;

// Says what of the table the walk cannot reach and, for the library's
// reach, what the library's selections leave aside; returns whether
// anything was said.
bool reportWalk(const std::string& title, const core::Walk& walk, Reach reach)
{
    bool said = false;
    if (walk.unreached)
    {
        warn(title, "the walk stops at byte " + hex(walk.end) + " of " +
                        std::to_string(walk.tableSize) +
                        ": no complete structure starts there, and what "
                        "follows is not reached");
        said = true;
    }
    if (reach == Reach::everyStructure)
        return said;
    for (const core::TableEntry& entry : walk.pastLimit)
    {
        const uint8_t type = entry.view.type();
        warn(title, std::to_string(walk.ofType[type] - core::kMaxOfOneType) +
                        " structures of type " + std::to_string(type) +
                        " lie past the first " +
                        std::to_string(core::kMaxOfOneType) +
                        " of that type, which is all the library hands out "
                        "or exports; the first of them at byte " +
                        hex(entry.offset));
        said = true;
    }
    return said;
}

int loadAndRun(const std::string& title, const TableChoice& choice,
               const TableSource& source, const TableBytes& table,
               const TableBody& body, Reach reach)
{
    const core::LoadedTable loaded(
        std::span<const uint8_t>(table.file).subspan(table.offset, table.size));
    if (loaded.status() != QVM_RC_SUCCESS)
        return failWith(title, "no structure at the start of the table (" +
                                   statusText(loaded.status()) + ")");
    const core::Walk walk = core::walkTable(loaded);
    const bool reported = reportWalk(title, walk, reach) || table.cutShort;
    const int exit = body(source, walk);
    return exit == kExitOk && choice.strict && reported ? kExitFailed : exit;
}

int fromFile(const std::string& title, TableSource source,
             const std::string& what, const Reader& run)
{
    FileBytes file = readWholeFile(source.path);
    if (!file.cause.empty())
        return failWith(title, "cannot read " + what + ": " + file.cause);
    const TableBytes table =
        splitTable(title, what, std::move(file.bytes), source.entryPoint);
    if (!table.usable)
        return kExitFailed;
    source.tableOffset = table.offset;
    return run(source, table);
}

int fromSample(const std::string& title, const Reader& run)
{
    const std::string path = tablegen::sampleTablePath();
    if (path.empty())
        return failWith(title, "the bundled sample table is missing (looked "
                               "in " +
                                   tablegen::sampleTablePlaces() + ")");
    return fromFile(title, {TableSource::Kind::sample, path, {}, 0},
                    "the sample table " + path, run);
}

int fromMachine(const std::string& title, const Reader& run)
{
    FileBytes file = readWholeFile(kMachineTable);
    if (!file.cause.empty())
    {
        failWith(title, std::string("cannot read this machine's SMBIOS "
                                    "table ") +
                            kMachineTable + ": " + file.cause);
        std::fputs("qvm: give a table with --table FILE, or --table sample "
                   "for the bundled sample table\n",
                   stderr);
        return kExitFailed;
    }
    TableSource source{TableSource::Kind::machine, kMachineTable, {}, 0};
    // The kernel shows the entry point apart.
    const FileBytes entry = readWholeFile(kMachineEntryPoint);
    if (entry.cause.empty())
        source.entryPoint = qvm::smbios::readEntryPoint(entry.bytes);
    TableBytes table{std::move(file.bytes), 0, 0, false, true};
    table.size = table.file.size();
    if (table.size == 0)
        return failWith(title, std::string(kMachineTable) + " is empty");
    return run(source, table);
}

// The table path that the inventory daemon gives; empty after reporting
// why there is none.
std::string daemonTablePath(const std::string& title, sd_bus* bus)
{
    const std::string on = " on the bus at " + busAddress();
    const qvm::invd::PathReply answer = qvm::invd::getPath(bus, kTablePath);
    if (answer.result >= 0 && answer.text != nullptr && *answer.text != '\0')
        return answer.text;
    const std::string cause =
        answer.result < 0 ? (!answer.busError.empty()
                                 ? answer.busError
                                 : std::string(std::strerror(-answer.result)))
                          : "the path is empty";
    failWith(title, std::string("the inventory daemon (") + kService + ")" +
                        on + " gives no table path (" + kTablePath +
                        "): " + cause);
    return {};
}

int fromDaemon(const std::string& title, const Reader& run)
{
    const Bus bus = connectBus(title);
    if (!bus)
        return kExitFailed;
    if (!nameHasOwner(bus.get(), kService))
        return failWith(title, std::string("no inventory daemon (") + kService +
                                   ") on the bus at " + busAddress());
    const std::string path = daemonTablePath(title, bus.get());
    if (path.empty())
        return kExitFailed;
    TableSource source{TableSource::Kind::inventoryDaemon, path, {}, 0};
    FileBytes file = readWholeFile(path);
    if (!file.cause.empty())
        return failWith(title, "cannot read " + path +
                                   ", the SMBIOS table that the inventory "
                                   "daemon on the bus at " +
                                   busAddress() + " names: " + file.cause);
    if (qvm::smbios::readEntryPoint(
            {file.bytes.data(),
             std::min(file.bytes.size(), qvm::smbios::kEntryPointRoom)}))
        warn(title, path + " starts with an SMBIOS entry point, which the "
                           "library reads as if it were a structure");
    // Read raw, exactly as the library's users read it.
    TableBytes table{std::move(file.bytes), 0, 0, false, true};
    table.size = table.file.size();
    if (table.size == 0)
        return failWith(title, path + " is empty");
    return run(source, table);
}

// Whether the inventory daemon is on the bus, for the default choice.
bool daemonPresent()
{
    int error = 0;
    const Bus bus = defaultBus(error);
    return bus && nameHasOwner(bus.get(), kService);
}

int readTable(const std::string& title, const TableChoice& choice,
              const Reader& run)
{
    if (choice.file == kSampleWord)
        return fromSample(title, run);
    if (!choice.file.empty())
        return fromFile(title, {TableSource::Kind::file, choice.file, {}, 0},
                        "the SMBIOS table " + choice.file, run);
    // A bus that the user named is asked, never exchanged for a file here.
    if (choice.fromBus || busChosen() || daemonPresent())
        return fromDaemon(title, run);
    return fromMachine(title, run);
}

} // namespace

void addTableSource(Command& command, TableChoice& choice)
{
    command
        .text("--table,--from-dump", choice.file,
              "the table file: raw, or behind an entry point as dmidecode "
              "--dump-bin writes it; 'sample' for the bundled sample",
              "FILE")
        .flag("--from-bus", choice.fromBus,
              "the file that the inventory daemon names, read as the "
              "library's users read it")
        .exclusive("--table", "--from-bus");
}

void addTableOptions(Command& command, TableChoice& choice)
{
    addTableSource(command, choice);
    command.flag("--strict", choice.strict,
                 "exit with 1 when the table is cut short, structures cannot "
                 "be reached, or any are left out");
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
              const TableBody& body, Reach reach)
{
    return readTable(title, choice,
                     [&](const TableSource& source, const TableBytes& table) {
                         return loadAndRun(title, choice, source, table, body,
                                           reach);
                     });
}

int withTableBytes(const std::string& title, const TableChoice& choice,
                   const BytesBody& body)
{
    return readTable(title, choice,
                     [&](const TableSource& source, const TableBytes& table)
                     {
                         return body(source,
                                     std::span<const uint8_t>(table.file)
                                         .subspan(table.offset, table.size));
                     });
}

std::string typeName(std::uint8_t type)
{
    const char* text =
        qvm::decode::findText(qvm::decode::tables::StructureTypeInfo, type);
    if (text == nullptr)
        return type >= 128 ? "OEM-specific" : "Unknown";
    std::string name = text;
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

std::string nameOf(const core::TableEntry& entry)
{
    char handle[8];
    std::snprintf(handle, sizeof handle, "0x%04X", entry.view.handle());
    return std::string("structure ") + handle + " (type " +
           std::to_string(entry.view.type()) + ", " +
           typeName(entry.view.type()) + ") at byte " + hex(entry.offset);
}

namespace
{

// One decimal part of MAJOR.MINOR, 0 to 255, or none.
std::optional<std::uint8_t> versionPart(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} ||
        end != text.data() + text.size() || value > 255)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

} // namespace

void addVersionOption(Command& command, GivenVersion& given)
{
    command.parsed(
        "--smbios-version",
        [&given](const std::string& text)
        {
            const auto dot = text.find('.');
            const auto major = versionPart(std::string_view(text).substr(
                0, dot == std::string::npos ? 0 : dot));
            const auto minor =
                versionPart(dot == std::string::npos
                                ? ""
                                : std::string_view(text).substr(dot + 1));
            if (!major || !minor)
                throw UsageError{"--smbios-version takes MAJOR.MINOR, each 0 "
                                 "to 255, not '" +
                                 text + "'"};
            given = qvm::decode::SmbiosVersion{*major, *minor};
        },
        "MAJOR.MINOR: the SMBIOS version to read a table without an entry "
        "point as (else the newest its structure lengths allow)",
        "VERSION");
}

qvm::smbios::TableVersion tableVersion(const TableSource& source,
                                       const qvm::smbios::TableView& table,
                                       const GivenVersion& given)
{
    std::optional<qvm::smbios::TableVersion> fromEntryPoint;
    if (const auto& ep = source.entryPoint)
    {
        fromEntryPoint = qvm::smbios::TableVersion{
            {ep->major, ep->minor},
            ep->is64 ? std::optional<std::uint8_t>(ep->docrev) : std::nullopt,
            qvm::smbios::VersionSource::EntryPoint};
    }
    return qvm::smbios::chooseVersion(fromEntryPoint, given, table);
}

} // namespace qvmcli
