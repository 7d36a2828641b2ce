#!/usr/bin/env python3
"""Checks that the test suite catches real faults: copies the tree (what git
knows, tracked or new) to a scratch folder, builds it once, then for each
deliberate fault below changes the copy, rebuilds, runs the test programs
that look at the faulty file first (the whole plain suite when they all pass)
and puts the file back. Reports every fault as caught (with the failing suites)
or missed; exits non-zero when one is missed or no longer applies.

    scripts/fault-check.py [NAME...]    only the faults whose names are given
"""
import json
import pathlib
import shutil
import subprocess
import sys
import tempfile

# name, file, text as it stands, text with the fault
FAULTS = [
    ("reader ignores the buffer's end", "src/smbios/structure_view.cpp",
     "const std::size_t available = std::min(width, end - offset);",
     "const std::size_t available = width;"),
    ("field one byte past the buffer taken in place",
     "src/smbios/structure_view.cpp",
     "width <= end - offset;", "width <= end - offset + 1;"),
    ("string search one byte past the buffer", "src/smbios/structure_view.cpp",
     "std::memchr(base + pos, 0, end - pos)",
     "std::memchr(base + pos, 0, end - pos + 1)"),
    ("swapped table row", "src/smbios/decode/tables_system.inc",
     '{9, "Daughter board"},\n    {10, "Motherboard"},',
     '{9, "Motherboard"},\n    {10, "Daughter board"},'),
    ("wrong version gate", "src/smbios/mapping/platform.cpp",
     "kV24 = versionAtLeast(2, 4);", "kV24 = versionAtLeast(2, 5);"),
    ("decoder reads another decoder's table",
     "src/smbios/decode/table_decoders.cpp",
     '"System Slot Length", tables::SystemSlotLength,',
     '"System Slot Length", tables::SystemSlotCurrentUsage,'),
    ("wrong length gate on one row",
     "src/smbios/mapping/ports_slots_strings.cpp",
     '"BusNum").when(kV26, lengthAbove(13))',
     '"BusNum").when(kV26, lengthAbove(14))'),
    ("onboard devices counted one too many",
     "src/smbios/mapping/ports_slots_strings.cpp",
     "counted(lengthMinus(4) / 2,", "counted(lengthMinus(2) / 2,"),
    ("dropped separator between structures", "src/smbios/json_export.cpp",
     'put(",");', 'put("");'),
    ("leaked descriptor of a refused table file", "src/inventory/table_source.cpp",
     "    if (!file)\n        close(fd);\n", ""),
    ("table file opened blocking", "src/inventory/table_source.cpp",
     "O_RDONLY | O_NONBLOCK", "O_RDONLY"),
    ("surrogates taken as UTF-8", "src/fields/json_text.cpp",
     "return {3, 0x80, 0x9F}; // no surrogates",
     "return {3, 0x80, 0xBF};"),
    ("NaN written as a number", "src/fields/json_text.cpp",
     " || !std::isfinite(value))", ")"),
    ("key limit one too long", "src/fields/field_string.hpp",
     "kMaxKey = 127;", "kMaxKey = 128;"),
    ("ticket list in the order received", "src/client/ticket_reply.cpp",
     "strings.rbegin(); it != strings.rend();",
     "strings.begin(); it != strings.end();"),
    ("wrong record kind for Collect data", "src/client/manager_replies.cpp",
     "kKindWantsData = 16;", "kKindWantsData = 17;"),
    ("caller's document released with the wrapper",
     "src/fields/json_document.cpp", "    json_object_get(doc);\n", ""),
    ("last signal left as the caller set it", "src/process/child_launch.cpp",
     "sig <= kLastSignal;", "sig < kLastSignal;"),
    ("exec-result pipe left open", "src/process/child_launch.cpp",
     "        if (fds_[0] >= 0)\n            close(fds_[0]);\n", ""),
    ("reaped child killed at the limit", "src/process/system_call_timeout.cpp",
     "        if (!reaped_)\n            kill(pid_, SIGKILL);",
     "        kill(pid_, SIGKILL);"),
    ("repeated key keeps its first value", "src/fields/plain_object.cpp",
     "out[slots[at] - 1] = &parts;", ""),
    ("qvm opens a table blocking", "tools/qvm/files.cpp",
     "O_RDONLY | O_NONBLOCK | O_NOCTTY", "O_RDONLY | O_NOCTTY"),
    ("qvm leaves its unfinished output on a signal", "tools/qvm/files.cpp",
     "    if (pendingOutput[0] != '\\0')\n        unlink(pendingOutput);\n",
     ""),
    ("qvm keeps quiet where the walk stops", "tools/qvm/core_table.cpp",
     "walk.unreached = std::any_of(", "walk.unreached = false && std::any_of("),
    ("qvm per-type limit one too high", "tools/qvm/core_table.cpp",
     "== kMaxOfOneType + 1)", "== kMaxOfOneType + 2)"),
    ("qvm ignores a failed standard output", "tools/qvm/main.cpp",
     "std::fflush(stdout) != 0 || std::ferror(stdout);",
     "std::fflush(stdout) != 0 && false;"),
    ("qvm ignores the version it is given", "tools/qvm/smbios_table.cpp",
     "chooseVersion(fromEntryPoint, given, table)",
     "chooseVersion(fromEntryPoint, std::nullopt, table)"),
    ("qvm exchanges a named bus for the local table",
     "tools/qvm/smbios_table.cpp",
     "choice.fromBus || busChosen() || daemonPresent()",
     "choice.fromBus || daemonPresent()"),
    ("structure of whole size 0xFFFF refused", "src/smbios/structure_view.cpp",
     "if (next && *next > kMaxWholeSize)",
     "if (next && *next >= kMaxWholeSize)"),
    ("per-type count wraps past 65,535", "src/smbios/json_export.cpp",
     "std::array<std::size_t, 256> counts{};",
     "std::array<std::uint16_t, 256> counts{};"),
    ("log descriptor type read at the wrong offset",
     "src/smbios/mapping/event_log.cpp",
     "counted(byteAt(21), 23, 2,", "counted(byteAt(21), 22, 2,"),
    ("faithful walk reads items past the formatted area",
     "src/smbios/mapping/row_engine.cpp",
     "items.boundedAlways || context.faithful();", "items.boundedAlways;"),
    ("item rows read from the structure's start",
     "src/smbios/mapping/row_engine.cpp",
     "        return context.base;\n    else", "        return 0;\n    else"),
    ("strict pass steps one byte past a backslash", "src/fields/json_text.cpp",
     "i += 2; // json-c's escapes", "i += 3; // json-c's escapes"),
    ("product name from the last system structure", "src/smbios/identity.cpp",
     "        if (identity.productName == nullptr)\n            identity",
     "        identity"),
    ("direct writer keeps a repeated key's first value",
     "src/fields/json_object_sink.cpp",
     "if (!repeatedKeys_.empty())", "if (false && !repeatedKeys_.empty())"),
    ("direct writer skips the strict pass", "src/fields/json_object_sink.cpp",
     "return highBytes_ ? madeStrict(text) : 0;", "return 0;"),
    ("direct writer reads a colon key as it stands", "src/fields/key_book.cpp",
     "text.size() > kMaxKey || text.find(':') != text.npos",
     "text.size() > kMaxKey"),
    ("port connector type misspelt", "src/smbios/decode/tables_ports_slots.inc",
     '{13, "Mini-DIN"},', '{13, "Mini DIN"},'),
    ("slot type misspelt", "src/smbios/decode/tables_ports_slots.inc",
     '{27, "MXM Type III (HE connector)"},',
     '{27, "MXM Type III (HE Connector)"},'),
    ("decoder label tidied", "src/smbios/decode/table_decoders.cpp",
     '"Memory Controller Error DetectMethod"',
     '"Memory Controller Error Detect Method"'),
    ("status text of code 8 reworded", "src/client/status.cpp",
     'return "Operation timeout";', 'return "Operation timed out";'),
    ("child reaped by another still killed at the limit",
     "src/process/system_call_timeout.cpp",
     "        if (errno == ECHILD)\n            reaped_ = true;\n", ""),
    ("cache table text misspelt", "src/smbios/decode/tables_cache.inc",
     '{4, "Pipeline Burst"}', '{4, "Pipelined Burst"}'),
    ("pointing device table text misspelt",
     "src/smbios/decode/tables_devices.inc",
     '{7, "Touch Pad"}', '{7, "Touchpad"}'),
    ("event log table text misspelt", "src/smbios/decode/tables_event_log.inc",
     '{11, "CPU Failure"}', '{11, "CPU failure"}'),
    ("management table text loses its blank",
     "src/smbios/decode/tables_management.inc",
     '{12, "Winbond W83781D "}', '{12, "Winbond W83781D"}'),
    ("memory table text misspelt", "src/smbios/decode/tables_memory.inc",
     '{5, "32-bit ECC"}', '{5, "32 bit ECC"}'),
    ("probe table text misspelt", "src/smbios/decode/tables_probes.inc",
     '{3, "Fan "}', '{3, "Fans "}'),
    ("processor table text misspelt", "src/smbios/decode/tables_processor.inc",
     '{21, "Socket LGA775"}', '{21, "Socket LGA 775"}'),
    ("system table text misspelt", "src/smbios/decode/tables_system.inc",
     '{29, "Blade Enclosure"}', '{29, "Blade enclosure"}'),
    ("subtree reader leaves one level too few on failure",
     "src/inventory/subtree_reader.cpp",
     "kInterfaceLevels = 3;", "kInterfaceLevels = 2;"),
    ("GetAll waits the bus's default 25 seconds",
     "src/inventory/inventory_walk.cpp",
     "kBound = 5'000'000;", "kBound = 25'000'000;"),
    ("signature-typed interface names end the subtree list",
     "src/inventory/subtree_reader.cpp",
     'std::string_view("sog")', 'std::string_view("so")'),
    ("walk cursor survives a table reload", "src/capi/walk_exports.cpp",
     "cursor.handle != handle ||\n        cursor.generation != qvm::smbios::tableGeneration())",
     "cursor.handle != handle)"),
    ("unsigned 64-bit value read as a double",
     "src/inventory/basic_value.cpp",
     "json_object_new_int64(static_cast<int64_t>(v.t))",
     "json_object_new_double(static_cast<double>(v.t))"),
    ("bus library opened at every start", "tools/qvm/lazy_sdbus.cpp",
     "\nint sd_bus_default(sd_bus** bus)\n",
     "\nvoid* const eager = qvmcli::lazy::symbol<Systemd>(\"sd_bus_open\");\n"
     "int sd_bus_default(sd_bus** bus)\n"),
]


# The test programs that look at each part of the tree, tried before the
# whole suite; the first matching prefix wins.
FIRST_SUITES = [
    ("src/smbios/decode/", ["decode"]),
    ("src/smbios/", ["smbios", "mapping"]),
    ("src/capi/", ["smbios"]),
    ("src/fields/", ["fields"]),
    ("src/client/", ["client"]),
    ("src/process/", ["process"]),
    ("src/inventory/", ["inventory"]),
    ("tools/qvm/", ["tool"]),
]


def run(args, cwd, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    return subprocess.run(args, cwd=cwd, stdout=out, stderr=out).returncode


def copy_tree(root, scratch):
    files = subprocess.run(
        ["git", "ls-files", "--cached", "--others", "--exclude-standard"],
        cwd=root, check=True, capture_output=True, text=True).stdout.split()
    for name in files:
        source = root / name
        if source.is_file():
            target = scratch / name
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target)


def failed_suites(build):
    log = build / "meson-logs" / "testlog.json"
    failed = []
    for line in log.read_text().splitlines():
        entry = json.loads(line)
        if entry.get("result") != "OK":
            failed.append(entry["name"])
    return failed


def try_fault(scratch, build, known, fault):
    name, path, good, bad = fault
    source = scratch / path
    text = source.read_text()
    if text.count(good) != 1:
        return "NO LONGER APPLIES (text not found once in " + path + ")"
    source.write_text(text.replace(good, bad))
    try:
        if run(["ninja", "-C", str(build)], scratch) != 0:
            return "NO LONGER APPLIES (the fault does not build)"
        failed = []
        first = [t for t in next((tests for prefix, tests in FIRST_SUITES
                                   if path.startswith(prefix)), [])
                 if t in known]
        if first:
            run(["meson", "test", "-C", str(build), "--no-rebuild", *first],
                scratch)
            failed = failed_suites(build)
        if not failed:
            run(["meson", "test", "-C", str(build), "--no-rebuild"], scratch)
            failed = failed_suites(build)
        return "caught by " + ", ".join(failed) if failed else "MISSED"
    finally:
        source.write_text(text)


def main(names):
    root = pathlib.Path(__file__).resolve().parent.parent
    faults = [f for f in FAULTS if not names or f[0] in names]
    # Inside the tree (and ignored by git, as build* is), where ccache's
    # base_dir makes the scratch build's commands those of a build there.
    with tempfile.TemporaryDirectory(prefix="build-faults-", dir=root) as tmp:
        scratch = pathlib.Path(tmp)
        copy_tree(root, scratch)
        build = scratch / "build"
        print("building a scratch copy of the tree", flush=True)
        if (run(["meson", "setup", str(build), "-Dbench=disabled",
                 "-Dcpp_args=-D_GLIBCXX_ASSERTIONS"], scratch) != 0
                or run(["ninja", "-C", str(build)], scratch) != 0):
            print("the scratch copy does not build")
            return 2
        if run(["meson", "test", "-C", str(build), "--no-rebuild"],
               scratch) != 0:
            print("the suite fails without any fault:",
                  ", ".join(failed_suites(build)))
            return 2
        known = set(subprocess.run(
            ["meson", "test", "-C", str(build), "--no-rebuild", "--list"],
            cwd=scratch, capture_output=True, text=True).stdout.split())
        missed = 0
        for fault in faults:
            verdict = try_fault(scratch, build, known, fault)
            missed += not verdict.startswith("caught")
            print(f"{fault[0]}: {verdict}", flush=True)
    print(f"{len(faults) - missed} of {len(faults)} faults caught")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
