#!/bin/sh
# The whole `qvm smbios export` process against the whole
# `dmidecode --from-dump` process on the same large tables:
#   bench/side_by_side.sh [RUNS]
# Builds a release of qvm in build-bench/, generates tables of about 600 and
# 5,000 structures (every decoded type), writes each in the dump layout that
# both read (entry point at 0, table at 0x20), and times both programs,
# alternating runs: with the library's debug lines as they are by default,
# and masked as a daemon masks them (setlogmask(LOG_UPTO(LOG_INFO))).
# Prints median times, peak memory and the four ratios (qvm and masked qvm
# against dmidecode, at each size).
#
# The tables and qvm's output live in a folder on tmpfs (/dev/shm when it
# exists, else mktemp's default, which may be a disk): the figures are then
# the programs' own rather than the disk's, as the README's figures were
# taken. qvm still pays for writing its file into memory and for the
# rename that frees the file it replaces; dmidecode writes to /dev/null.
set -eu
runs=${1:-31}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    work=$(mktemp -d -p /dev/shm)
else
    work=$(mktemp -d)
fi
trap 'rm -rf "$work"' EXIT

"$root/scripts/install-deps.sh"
if ! command -v dmidecode >/dev/null || [ ! -x /usr/bin/time ]; then
    echo "installing dmidecode and time" >&2
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends dmidecode time >/dev/null
fi
if [ ! -f "$build/build.ninja" ]; then
    meson setup "$build" "$root" -Dbuildtype=release -Dtests=disabled \
        -Dman=disabled >/dev/null
fi
ninja -C "$build" tools/qvm/qvm bench/qvm-bench-table >/dev/null

qvm="$build/tools/qvm/qvm"
echo "$(nproc) processors, $(uname -r), $(dmidecode --version | sed 's/^/dmidecode /')"
echo "work folder $work ($(stat -f -c %T "$work")), load average $(cut -d' ' -f1-3 /proc/loadavg)"
for size in 600 5000; do
    "$build/bench/qvm-bench-table" "$size" "$work/raw.bin"
    "$qvm" smbios dump-bin --table "$work/raw.bin" "$work/t$size.bin"
    echo
    count=$("$qvm" smbios info --table "$work/t$size.bin" | sed -n \
        's/^structures: *\([0-9]*\) of \([0-9]*\) types/\1 structures of \2 types/p')
    echo "$count, $(stat -c %s "$work/t$size.bin") bytes, $runs runs each:"
    table="--table $work/t$size.bin"
    # qvm writes its file (in the same temporary folder) as an operator
    # would; dmidecode writes to /dev/null.
    out="--output $work/out.json"
    python3 "$root/bench/time_side_by_side.py" "$runs" \
        "qvm=$qvm smbios export $table $out" \
        "qvm-masked=$qvm --mask-debug smbios export $table $out" \
        "dmidecode=dmidecode --from-dump $work/t$size.bin" \
        -- qvm/dmidecode qvm-masked/dmidecode
done
