// qvm smbios check: what is wrong with a table, its entry point included,
// as the table linter finds it. Exit 0 without errors (without warnings
// either under --strict), 1 with, 2 when the table cannot be read.
#include "cli.hpp"
#include "smbios/lint/check_table.hpp"
#include "smbios_commands.hpp"
#include "smbios_table.hpp"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace qvmcli
{
namespace
{

struct CheckOptions
{
    TableChoice table;
    bool json = false;
    bool strict = false;
};

bool fails(const qvm::smbios::Finding& finding, bool strict)
{
    using qvm::smbios::Severity;
    return finding.severity == Severity::Error ||
           (strict && finding.severity == Severity::Warning);
}

int check(const CheckOptions& o)
{
    bool read = false;
    const int exit = withTableBytes(
        "smbios check", o.table,
        [&](const TableSource& source, std::span<const std::uint8_t> table)
        {
            read = true;
            const auto result =
                qvm::smbios::checkTable(source.entryPoint, table);
            const std::string text =
                o.json ? qvm::smbios::findingsJson(result.findings) + "\n"
                       : qvm::smbios::findingsText(result.findings);
            std::fputs(text.c_str(), stdout);
            const bool failed = std::any_of(
                result.findings.begin(), result.findings.end(),
                [&](const auto& finding) { return fails(finding, o.strict); });
            return failed ? kExitFailed : kExitOk;
        });
    return read ? printed(exit) : kExitTrouble;
}

} // namespace

void addSmbiosCheck(Command& smbios)
{
    auto o = std::make_shared<CheckOptions>();
    Command c = smbios.command(
        "check",
        "what is wrong with the table: entry point, structures, references\n"
        "One line per finding: severity (error, warning, note), where "
        "(handle, type\nand byte offset in the table, or in the entry point) "
        "and what. Exit 0 when\nthere is no error, 1 when there is, 2 when "
        "the table cannot be read.",
        [o] { return check(*o); });
    addTableSource(c, o->table);
    c.flag("--json", o->json, "the findings as one JSON document");
    c.flag("--strict", o->strict, "exit with 1 on warnings too");
}

} // namespace qvmcli
