#!/bin/sh
# The ABI check catches a changed record. A probe shared object is built from
# a scratch copy of the header, its ABI dumped, then the record is changed in
# the copy and the probe rebuilt; the check must fail and name the record.
# abi_catch.sh ABI_SCRIPT HEADER PROBE_SOURCE
set -eu
abi=$1
header=$2
probe=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cflags=$(pkg-config --cflags libsystemd json-c)

build() {
    # shellcheck disable=SC2086
    cc -std=c99 -g -shared -fPIC -I"$scratch" $cflags "$probe" \
        -o "$scratch/libprobe.so"
}

cp "$header" "$scratch/qvmclient.h"
build
sh "$abi" dump "$scratch/libprobe.so" "$scratch/baseline.abi"
sh "$abi" check "$scratch/baseline.abi" "$scratch/libprobe.so" >/dev/null ||
    { echo "the unchanged probe fails the check" >&2; exit 1; }

failed=0
while read -r record change; do
    sed "$change" "$header" >"$scratch/qvmclient.h"
    if cmp -s "$header" "$scratch/qvmclient.h"; then
        echo "$record: '$change' changes nothing in the header" >&2
        failed=1
        continue
    fi
    build
    if sh "$abi" check "$scratch/baseline.abi" "$scratch/libprobe.so" \
        >"$scratch/report" 2>&1; then
        echo "$record: '$change' passes the check" >&2
        failed=1
    elif ! grep -q "struct $record" "$scratch/report"; then
        echo "$record: the report does not name it:" >&2
        cat "$scratch/report" >&2
        failed=1
    fi
done <<'CHANGES'
SaveRecord s/char text1\[98\];/char text1[97];/
FqddMapEntry s/uint16_t handle;/uint32_t handle;/
CHANGES
exit $failed
