#!/bin/sh
# The shared object exports exactly the names listed under symbols/.
set -eu
lib=$1
symbols_dir=$2
expected=$(mktemp)
actual=$(mktemp)
trap 'rm -f "$expected" "$actual"' EXIT
cat "$symbols_dir"/*.txt | sed '/^$/d' | sort -u >"$expected"
# AddressSanitizer adds an __odr_asan.<name> marker beside every exported
# variable; it is instrumentation, not part of the interface.
nm -D --defined-only "$lib" | awk '$3 !~ /^__odr_asan/ {print $3}' |
    sort -u >"$actual"
if ! diff -u "$expected" "$actual"; then
    echo "exported names differ from the list (- listed, + exported)" >&2
    exit 1
fi
