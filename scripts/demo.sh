#!/bin/sh
# The main job: installs what is missing, builds the library and qvm (no
# tests, no benchmarks) in build-demo/, exports an SMBIOS table to JSON with
# qvm and prints a short summary of it. The table is this machine's own when
# it is readable, else the bundled sample table, and the output says which.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-demo"
step() { printf '\n== %s\n' "$*"; }

step "installing missing Debian packages"
"$root/scripts/install-deps.sh"

step "building the library and qvm in $build"
# Without debug information: it takes a third of the compilers' time, and
# nobody debugs the demo's build.
"$root/scripts/build.sh" "$build" -Dtests=disabled -Dbench=disabled \
    -Ddebug=false

qvm="$build/tools/qvm/qvm"
table=/sys/firmware/dmi/tables/DMI
if [ -r "$table" ]; then
    step "reading this machine's SMBIOS table $table"
else
    table="$build/tools/qvm/sample-table.bin"
    step "this machine's SMBIOS table is not readable: reading the bundled sample table $table (an invented server, not this machine)"
fi
json="$build/smbios.json"

# An answer, or "(none)" when the table does not have it.
ask() {
    "$qvm" smbios "$@" --table "$table" 2>/dev/null || echo "(none)"
}

step "exporting it to $json"
"$qvm" smbios export --table "$table" --output "$json"

step "summary"
echo "table:        $table"
echo "JSON export:  $json ($(wc -c <"$json") bytes)"
echo "service tag:  $(ask service-tag)"
echo "system name:  $(ask system-name)"
echo "BIOS version: $(ask get bios-version)"
echo "structures per type:"
"$qvm" smbios list --table "$table" | awk '
    {
        name = $3
        for (i = 4; i < NF; i++) name = name " " $i
        count[$2]++
        names[$2] = name
    }
    END { for (t in count) printf "  %3d  %-40s %3d\n", t, names[t], count[t] }
' | sort -n
