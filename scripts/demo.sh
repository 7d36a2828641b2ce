#!/bin/sh
# The main job: installs what is missing, builds the library and its tools,
# exports an SMBIOS table to JSON with qvm and prints a short summary of it.
# The table is this machine's own when it is readable, else the sample
# table that the build generates.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
qvm="$root/build/tools/qvm/qvm"
table=/sys/firmware/dmi/tables/DMI
[ -r "$table" ] || table="$root/build/tools/qvm/sample-table.bin"
json="$root/build/smbios.json"

# An answer, or "(none)" when the table does not have it.
ask() {
    "$qvm" smbios "$@" --table "$table" 2>/dev/null || echo "(none)"
}

"$qvm" smbios export --table "$table" --output "$json"
echo "table:        $table"
echo "JSON export:  $json ($(wc -c <"$json") bytes)"
echo "service tag:  $(ask service-tag)"
echo "system name:  $(ask system-name)"
echo "BIOS version: $(ask bios | sed -n 's/^BIOS version: *//p')"
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
